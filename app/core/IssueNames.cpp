#include "app/core/IssueNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <limits>

#include "platform/CodePage.h"

namespace {
std::vector<std::string> NameParts(const std::string& name) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : name + '/') {
    if (c != '/' && c != '\\') {
      part += c;
    } else if (!part.empty()) {
      parts.push_back(part);
      part.clear();
    }
  }
  return parts;
}

// 'd' for a folder, 'f' for anything else that is there, 0 for nothing or a symbolic link.
char KindOf(const std::string& path) {
  struct stat info = {};
  if (lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) return 0;
  return S_ISDIR(info.st_mode) ? 'd' : 'f';
}
}  // namespace

void TIssueNames::NewIssue(const std::vector<std::string>& archiveNames) {
  ++FSerial;
  FListings.clear();
  FArchiveOrder.clear();
  for (const std::string& name : archiveNames) {
    // A folder takes the place of its first entry.
    std::string relative;
    for (const std::string& part : NameParts(name)) {
      relative += (relative.empty() ? "" : "/") + part;
      FArchiveOrder.emplace(relative, FArchiveOrder.size());
    }
  }
}

const TIssueNames::TListing& TIssueNames::Listing(const std::string& folder,
                                                  const std::string& relativeFolder) {
  const auto cached = FListings.find(folder);
  if (cached != FListings.end()) return cached->second;
  std::vector<std::pair<std::size_t, std::string>> entries;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const auto position = FArchiveOrder.find(relativeFolder.empty() ? name : relativeFolder + "/" + name);
      entries.emplace_back(
          position == FArchiveOrder.end() ? std::numeric_limits<std::size_t>::max() : position->second, name);
    }
    closedir(dir);
  }
  std::sort(entries.begin(), entries.end());
  TListing& listing = FListings[folder];
  for (const auto& entry : entries) listing.emplace(CaseFoldedText(entry.second), entry.second);
  return listing;
}

std::string TIssueNames::Resolve(const std::string& root, const std::string& relative) {
  std::string path = root;
  std::string relativePath;
  char kind = KindOf(root);
  for (const std::string& part : NameParts(relative)) {
    if (part == ".") continue;
    if (part == ".." || kind != 'd') return "";
    std::string name = part;
    kind = KindOf(path + "/" + name);
    if (!kind) {
      const TListing& listing = Listing(path, relativePath);
      const auto match = listing.find(CaseFoldedText(part));
      if (match == listing.end()) return "";
      name = match->second;
      kind = KindOf(path + "/" + name);
      if (!kind) return "";
    }
    path += "/" + name;
    relativePath += (relativePath.empty() ? "" : "/") + name;
  }
  return path;
}

TIssueNames& IssueNames() {
  static TIssueNames names;
  return names;
}
