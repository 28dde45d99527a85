#include "app/core/DroppedIssue.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string_view>

#include "zip/volumes/VolumeNames.h"

namespace {
bool IsRegularFile(const std::string& name) {
  struct stat info = {};
  return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i])
      return false;
  return true;
}

// The last file of a spanned set, name being a .zip file: one beside its first part NAME.z01, or
// a numbered part whose previous number exists and whose next one does not.
bool IsLastPartOfSet(const std::string& name) {
  if (NamingOf(name, 1) == VolumeNaming::Split) return true;
  const std::int32_t number = PartNumberOf(name);
  if (number < 2) return false;
  const std::string previous = VolumeFileFor(VolumeNaming::Numbered, name, number - 2, 0);
  const std::string next = VolumeFileFor(VolumeNaming::Numbered, name, number, 0);
  return IsRegularFile(previous) && (number == 999 || !IsRegularFile(next));
}
}  // namespace

std::string IssueFileProblem(const std::string& name) {
  struct stat info = {};
  if (stat(name.c_str(), &info) != 0) return errno == EACCES ? "permission denied" : "no such file";
  if (S_ISDIR(info.st_mode)) return "a folder";
  if (!S_ISREG(info.st_mode)) return "not an issue";
  if (access(name.c_str(), R_OK) != 0) return "permission denied";
  if (EndsWithIgnoreCase(name, ".kvx")) return "";
  if (EndsWithIgnoreCase(name, ".zip") && IsLastPartOfSet(name)) return "";
  return "not an issue";
}

std::string IssueOfDrop(const std::vector<std::string>& files) {
  if (files.size() != 1 || !IssueFileProblem(files[0]).empty()) return std::string();
  return files[0];
}
