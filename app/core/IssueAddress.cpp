#include "app/core/IssueAddress.h"

#include <cctype>
#include <filesystem>
#include <string_view>

const char* const IssueScheme = "korvex";

namespace {
bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

std::string PercentDecoded(const std::string& text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// Bytes a path keeps as they are; "%" and everything else is escaped.
std::string PercentEncoded(const std::string& path) {
  static const char* const digits = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || std::string_view("/-._~!$&'()*+,;=:@").find(c) != std::string_view::npos) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += digits[byte >> 4];
      encoded += digits[byte & 15];
    }
  }
  return encoded;
}

// The address split before its query or fragment.
std::pair<std::string, std::string> SplitSuffix(const std::string& address) {
  const std::size_t at = address.find_first_of("?#");
  if (at == std::string::npos) return {address, ""};
  return {address.substr(0, at), address.substr(at)};
}

std::string SchemePrefix(unsigned issue) {
  return std::string(IssueScheme) + "://issue" + std::to_string(issue);
}

// The path after "scheme://host" of an address that starts with prefix, "" when it does not.
std::string PathAfter(const std::string& uri, const std::string& prefix) {
  if (!StartsWithNoCase(uri, prefix)) return "";
  const std::string rest = SplitSuffix(uri.substr(prefix.size())).first;
  return rest.empty() || rest[0] == '/' ? PercentDecoded(rest) : "";
}
}  // namespace

std::string EngineAddress(const std::string& address, const std::string& folder, unsigned issue) {
  auto [path, suffix] = SplitSuffix(address);
  if (StartsWithNoCase(path, "file://")) {
    path = PercentDecoded(path.substr(7));
    if (StartsWithNoCase(path, "localhost/")) path = path.substr(9);
  } else if (path.empty() || path[0] != '/') {
    return "";
  } else {
    // A plain path is a file name: "?" and "#" belong to it.
    path = address;
    suffix.clear();
  }
  const std::string normal = std::filesystem::path(path).lexically_normal().string();
  const std::string inside = std::filesystem::path(folder).lexically_normal().string() + "/";
  if (normal.compare(0, inside.size(), inside) != 0) return "";
  return SchemePrefix(issue) + PercentEncoded(normal.substr(inside.size() - 1)) + suffix;
}

std::string ShellAddress(const std::string& uri, const std::string& folder) {
  const std::string scheme = std::string(IssueScheme) + "://";
  if (!StartsWithNoCase(uri, scheme)) return uri;
  const std::size_t pathStart = uri.find('/', scheme.size());
  if (pathStart == std::string::npos) return uri;
  const auto [encodedPath, suffix] = SplitSuffix(uri.substr(pathStart));
  if (suffix.empty()) return folder + PercentDecoded(encodedPath);
  return "file://" + PercentEncoded(folder) + encodedPath + suffix;
}

std::string IssuePathOf(const std::string& uri, unsigned issue) {
  const std::string prefix = SchemePrefix(issue);
  // "issue1" must not take "issue12"'s addresses.
  if (uri.size() > prefix.size() && uri[prefix.size()] != '/') return "";
  return PathAfter(uri, prefix);
}

TNavigationVerdict NavigationVerdict(const std::string& uri, bool formSent) {
  if (StartsWithNoCase(uri, std::string(IssueScheme) + ":")) return TNavigationVerdict::Load;
  for (const char* inPage : {"about:", "data:", "javascript:"})
    if (StartsWithNoCase(uri, inPage)) return TNavigationVerdict::Load;
  for (const char* desktops : {"http://", "https://", "mailto:"})
    if (StartsWithNoCase(uri, desktops))
      return formSent ? TNavigationVerdict::Drop : TNavigationVerdict::HandOff;
  return TNavigationVerdict::Drop;
}
