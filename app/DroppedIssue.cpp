#include "app/DroppedIssue.h"

#include <sys/stat.h>

#include <cctype>
#include <string_view>

namespace {
bool IsRegularFile(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i])
      return false;
  return true;
}

// name with its three digits before the extension replaced by number, or "" when it has none.
std::string WithPartNumber(const std::string& name, std::size_t digitsAt, int number) {
  if (number < 1 || number > 999) return std::string();
  const std::string digits = std::to_string(1000 + number).substr(1);
  return name.substr(0, digitsAt) + digits + name.substr(digitsAt + 3);
}

bool IsLastNumberedPart(const std::string& name) {
  const std::size_t dot = name.size() - 4;  // ".zip" or ".kvx"
  const std::size_t slash = name.rfind('/');
  const std::size_t stem = slash == std::string::npos ? 0 : slash + 1;
  if (dot < stem + 3) return false;
  const std::size_t digitsAt = dot - 3;
  int number = 0;
  for (std::size_t i = digitsAt; i < dot; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    number = number * 10 + (name[i] - '0');
  }
  const std::string previous = WithPartNumber(name, digitsAt, number - 1);
  const std::string next = WithPartNumber(name, digitsAt, number + 1);
  return !previous.empty() && IsRegularFile(previous) && (next.empty() || !IsRegularFile(next));
}
}  // namespace

std::string IssueOfDrop(const std::vector<std::string>& files) {
  if (files.size() != 1 || !IsRegularFile(files[0])) return std::string();
  const std::string& name = files[0];
  if (EndsWithIgnoreCase(name, ".kvx")) return name;
  if (EndsWithIgnoreCase(name, ".zip") && IsLastNumberedPart(name)) return name;
  return std::string();
}
