#include "app/core/RecentIssues.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/core/StateFolder.h"
#include "platform/Folders.h"

namespace {
const char* const RecentFileName = "recent-issues";
const char* const RecentHeader = "folivo recent issues 1";
constexpr std::size_t RecentFileLimit = 64 * 1024;
constexpr std::size_t PathLimit = 4096;

bool IsKeepablePath(const std::string& path) {
  return !path.empty() && path[0] == '/' && path.size() <= PathLimit && IsPlainStateText(path);
}

std::string FullPath(const std::string& fileName) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(fileName, error);
  return error ? "" : full.lexically_normal().string();
}
}  // namespace

TRecentIssues::TRecentIssues(std::string folder) : FFolder(std::move(folder)) {}

void TRecentIssues::Load() {
  FPaths.clear();
  const std::optional<std::string> text = ReadStateFile(FFolder, RecentFileName, RecentFileLimit);
  if (!text) return;
  std::size_t start = 0;
  bool header = true;
  while (start < text->size() && FPaths.size() < MaxCount) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    const std::string line = text->substr(start, end - start);
    start = end + 1;
    if (header) {
      if (line != RecentHeader) return;
      header = false;
    } else if (IsKeepablePath(line) && std::find(FPaths.begin(), FPaths.end(), line) == FPaths.end()) {
      FPaths.push_back(line);
    }
  }
}

void TRecentIssues::Opened(const std::string& fileName) {
  const std::string path = FullPath(fileName);
  if (!IsKeepablePath(path)) return;
  std::erase(FPaths, path);
  FPaths.insert(FPaths.begin(), path);
  if (FPaths.size() > MaxCount) FPaths.resize(MaxCount);
  Save();
}

void TRecentIssues::Remove(const std::string& path) {
  if (std::erase(FPaths, path) > 0) Save();
}

void TRecentIssues::Clear() {
  FPaths.clear();
  Save();
}

std::vector<TRecentMenuEntry> TRecentIssues::MenuEntries() const {
  std::vector<TRecentMenuEntry> entries;
  for (std::size_t i = 0; i < FPaths.size(); ++i)
    entries.push_back({"&" + std::to_string(i + 1) + " " + MenuLabelText(ExtractFileName(FPaths[i])),
                       FPaths[i], FPaths[i]});
  return entries;
}

TRecentChoice TRecentIssues::Choose(std::size_t number) {
  if (number < 1 || number > FPaths.size()) return {};
  const std::string path = FPaths[number - 1];
  struct stat info = {};
  const bool found = stat(path.c_str(), &info) == 0;
  // A file that cannot be looked at for another reason is left to the opening to tell.
  if ((found && S_ISREG(info.st_mode)) || (!found && errno != ENOENT && errno != ENOTDIR)) return {path, ""};
  Remove(path);
  return {"", ExtractFileName(path) + " is no longer there; it was removed from the recent issues."};
}

void TRecentIssues::Save() const {
  std::string text = std::string(RecentHeader) + "\n";
  for (const std::string& path : FPaths) text += path + "\n";
  WriteStateFile(FFolder, RecentFileName, text);
}

std::string MenuLabelText(const std::string& text) {
  std::string label;
  for (const char c : text) {
    if (c == '&') label += '&';
    label += c;
  }
  return label;
}
