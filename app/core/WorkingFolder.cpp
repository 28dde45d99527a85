#include "app/core/WorkingFolder.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/Folders.h"
#include "platform/TempPath.h"

const char* const StartPageName = "hhhome.htm";
const char* const LinksPageName = "kvxlnkk.htm";
const char* const ContentsPageName = "kvxsommario.htm";
const char* const SearchPageName = "kvxcerca.htm";

char TempPathBuffer[51];
SHFILEOPSTRUCTA CleanupRequest;

namespace {
std::string DeletionPattern;
}

void RefillTempPath(const std::string& fallbackBase) {
  char fresh[sizeof TempPathBuffer] = {};
  const DWORD length = GetTempPathA(50, fresh);
  if (length > 0 && length < 50) {
    std::memcpy(TempPathBuffer, fresh, sizeof TempPathBuffer);
    return;
  }
  // The same private folder in a base whose path is short enough.
  const std::string fallback = PrivateFolderIn(fallbackBase);
  if (!fallback.empty() && fallback.size() < 50) {
    std::memset(TempPathBuffer, 0, sizeof TempPathBuffer);
    std::memcpy(TempPathBuffer, fallback.data(), fallback.size());
  }
}

std::string TempPath() {
  return std::string(TempPathBuffer, strnlen(TempPathBuffer, sizeof TempPathBuffer));
}

std::string WorkingFolder() {
  return TempPath() + "KORVEX";
}

std::string WorkingFile(const std::string& name) {
  return WorkingFolder() + PathDelim + name;
}

std::string WorkingFileName(const std::string& path) {
  const std::string folder = WorkingFolder() + PathDelim;
  return path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size()) : std::string();
}

std::string UnpackingFolder() {
  return WorkingFolder() + "-next";
}

bool InsideWorkingFolder(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const std::string full = fs::weakly_canonical(fs::absolute(path, error), error).string();
  for (const std::string& folder : {WorkingFolder(), UnpackingFolder()}) {
    const std::string inside = fs::weakly_canonical(folder, error).string() + "/";
    if (full.compare(0, inside.size(), inside) == 0) return true;
  }
  return false;
}

void RemoveFolderTree(const std::string& folder) {
  DeleteFolderContents(folder);
  RemoveDirectoryA(folder.c_str());
}

void RemoveWorkingFolder() {
  RefillTempPath();
  RemoveFolderTree(UnpackingFolder());
  SHFileOperationA(&CleanupRequest);
  SetCurrentDirectoryA(TempPathBuffer);
  RemoveDirectoryA("KORVEX");
}

bool InitializeMainUnit() {
  RefillTempPath();
  if (TempPath().empty()) return false;
  DeletionPattern = WorkingFolder() + PathDelim + "*.*";
  DeletionPattern.push_back('\0');  // the string's own NUL is the second one
  CleanupRequest.pFrom = DeletionPattern.c_str();
  return true;
}

void FinalizeMainUnit() {
  CleanupRequest.pFrom = nullptr;
  DeletionPattern.clear();
  DeletionPattern.shrink_to_fit();
}
