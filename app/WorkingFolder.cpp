#include "app/WorkingFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/Folders.h"

char TempPathBuffer[51];
SHFILEOPSTRUCTA CleanupRequest;

namespace {
std::string DeletionPattern;
}

std::string FallbackTempPath() {
  const std::string path = "/tmp/folivo-" + std::to_string(getuid());
  mkdir(path.c_str(), 0700);
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
      (st.st_mode & 077) != 0)
    return "";
  return path + "/";
}

void RefillTempPath() {
  char fresh[sizeof TempPathBuffer] = {};
  const DWORD length = GetTempPathA(50, fresh);
  if (length > 0 && length < 50) {
    std::memcpy(TempPathBuffer, fresh, sizeof TempPathBuffer);
    return;
  }
  const std::string fallback = FallbackTempPath();
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

void RemoveWorkingFolder() {
  RefillTempPath();
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
