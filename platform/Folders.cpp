// Folder calls and file-name helpers.
#include "platform/Folders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

BOOL CreateDirectoryA(LPCSTR path, void*) {
  return mkdir(path, 0777) == 0;
}
BOOL RemoveDirectoryA(LPCSTR path) {
  return rmdir(path) == 0;
}
BOOL SetCurrentDirectoryA(LPCSTR path) {
  return chdir(path) == 0;
}
BOOL DeleteFileA(LPCSTR path) {
  return unlink(path) == 0;
}

std::string GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

bool FileExists(const std::string& name) {
  struct stat st = {};
  return stat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& name) {
  struct stat st = {};
  return stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ExpandFileName(const std::string& name) {
  std::string full = (!name.empty() && name[0] == '/') ? name : GetCurrentDir() + "/" + name;
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= full.size()) {
    std::size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const auto& part : parts) result += "/" + part;
  if (result.empty() || (full.back() == '/' && parts.size() > 0)) result += "/";
  return result;
}

std::string ExtractFileDir(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : name.substr(0, slash);
}

std::string ExtractFileName(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  const std::size_t slash = name.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return name.substr(dot);
}

std::string ChangeFileExt(const std::string& name, const std::string& ext) {
  return name.substr(0, name.size() - ExtractFileExt(name).size()) + ext;
}

bool EndsInDelimiter(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::vector<std::string> FolderEntryNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}
