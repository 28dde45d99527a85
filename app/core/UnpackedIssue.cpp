#include "app/core/UnpackedIssue.h"

#include <sys/stat.h>

#include <algorithm>

#include "app/core/WorkingFolder.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"

namespace {
// The name with "/" between folders and no empty, "." or ".." parts; "" when it has such parts.
std::string CleanName(const std::string& name) {
  std::string clean;
  std::string part;
  for (const char c : name + '/') {
    if (c != '/' && c != '\\') {
      part += c;
      continue;
    }
    if (part == "." || part == "..") return "";
    if (!part.empty()) clean += (clean.empty() ? "" : "/") + part;
    part.clear();
  }
  return clean;
}

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && CompareTextIgnoreCase(text.substr(text.size() - end.size()), end) == 0;
}

bool IsPage(const std::string& name) {
  return EndsWithNoCase(name, ".htm") || EndsWithNoCase(name, ".html");
}

bool IsFile(const std::string& path) {
  struct stat info = {};
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The one folder at the top of the directory when nothing else lies there, else "".
std::string SoleTopFolder(const TEntryNames& names) {
  std::string top;
  for (const std::string& raw : names) {
    const std::string name = CleanName(raw);
    const std::size_t slash = name.find('/');
    if (name.empty()) continue;
    if (slash == std::string::npos) return "";
    const std::string folder = name.substr(0, slash);
    if (!top.empty() && top != folder) return "";
    top = folder;
  }
  return top;
}

// index.htm at the top, or in the one top folder; "" for neither. As the directory spells it.
std::string IndexEntry(const TEntryNames& names) {
  const std::string top = SoleTopFolder(names);
  for (const std::string& raw : names) {
    const std::string name = CleanName(raw);
    if (CompareTextIgnoreCase(name, "index.htm") == 0) return name;
    if (!top.empty() && name.size() == top.size() + 10 &&
        CompareTextIgnoreCase(name.substr(top.size()), "/index.htm") == 0)
      return name;
  }
  return "";
}
}  // namespace

std::vector<std::string> ListedPages(const TEntryNames& names) {
  std::vector<std::string> pages;
  for (const std::string& raw : names) {
    const std::string name = CleanName(raw);
    if (!name.empty() && IsPage(name) && std::find(pages.begin(), pages.end(), name) == pages.end())
      pages.push_back(name);
  }
  return pages;
}

std::vector<std::string> UnpackedPages(const std::string& folder, const TEntryNames& names) {
  std::vector<std::string> pages = ListedPages(names);
  std::erase_if(pages, [&folder](const std::string& page) { return !IsFile(folder + "/" + page); });
  return pages;
}

std::string UnpackedIndex(const std::string& folder, const TEntryNames& names) {
  const std::string index = IndexEntry(names);
  if (index.empty() || !IsFile(folder + "/" + index)) return "";
  // Spelled as the reader asks for it; the engine finds the name in any case.
  return index.substr(0, index.size() - 9) + "index.htm";
}

bool ListsIndex(const TEntryNames& names) {
  return !IndexEntry(names).empty();
}

std::vector<std::string> RemoveReaderPageNames(const std::string& folder) {
  std::vector<std::string> removed;
  for (const char* name : {StartPageName, LinksPageName, ContentsPageName, SearchPageName}) {
    const std::string path = folder + "/" + name;
    struct stat info = {};
    if (lstat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode))
      RemoveFolderTree(path);
    else
      DeleteFileA(path.c_str());
    removed.push_back(name);
  }
  return removed;
}
