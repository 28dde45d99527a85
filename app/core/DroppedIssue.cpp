#include "app/core/DroppedIssue.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string_view>

#include "zip/ZipComp.h"

namespace {
bool EndsWithIgnoreCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i])
      return false;
  return true;
}
}  // namespace

std::string IssueFileProblem(const std::string& name) {
  struct stat info = {};
  if (stat(name.c_str(), &info) != 0) return errno == EACCES ? "permission denied" : "no such file";
  if (S_ISDIR(info.st_mode)) return "a folder";
  if (!S_ISREG(info.st_mode)) return "not an issue";
  if (access(name.c_str(), R_OK) != 0) return "permission denied";
  if (EndsWithIgnoreCase(name, ".kvx")) return "";
  if (EndsWithIgnoreCase(name, ".zip") && TZipComponent::SetPartOf(name).Last) return "";
  return "not an issue";
}

std::string IssueOfDrop(const std::vector<std::string>& files) {
  if (files.size() != 1 || !IssueFileProblem(files[0]).empty()) return std::string();
  return files[0];
}
