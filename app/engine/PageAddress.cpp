#include "app/engine/PageAddress.h"

#include <glib.h>

#include "app/core/IssueAddress.h"
#include "app/core/IssueNames.h"
#include "app/core/WorkingFolder.h"

namespace {
bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return g_ascii_strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}
}  // namespace

std::string LoadableAddress(const std::string& address) {
  const std::string issueAddress = EngineAddress(address, WorkingFolder(), IssueNames().Serial());
  if (!issueAddress.empty()) return issueAddress;
  if (address.empty() || address[0] != '/') return address;
  gchar* uri = g_filename_to_uri(address.c_str(), nullptr, nullptr);
  const std::string result = uri ? uri : address;
  g_free(uri);
  return result;
}

std::string ReportedAddress(const std::string& uri) {
  if (StartsWithNoCase(uri, std::string(IssueScheme) + ":")) return ShellAddress(uri, WorkingFolder());
  if (!StartsWithNoCase(uri, "file:") || uri.find_first_of("#?") != std::string::npos) return uri;
  gchar* path = g_filename_from_uri(uri.c_str(), nullptr, nullptr);
  const std::string result = path ? path : uri;
  g_free(path);
  return result;
}
