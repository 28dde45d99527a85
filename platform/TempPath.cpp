// The private per-user temporary folder.
#include "platform/TempPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Folders.h"

namespace {

bool IsPrivateRuntimeDir(const char* path) {
  struct stat st = {};
  if (path == nullptr || path[0] != '/' || lstat(path, &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

// Makes sure that path is a real folder of ours with mode 0700; fixes the mode of our own folder
// unless others could write into it, as they may have planted entries there.
bool EnsurePrivateDir(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st = {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return false;
  if ((st.st_mode & 07777) != 0700 && chmod(path.c_str(), 0700) != 0) return false;
  return true;
}

}  // namespace

std::string PrivateFolderIn(const std::string& base) {
  std::string parent = base;
  while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
  if (parent != "/") parent += '/';
  const std::string dir = parent + "folivo-" + std::to_string(geteuid());
  return EnsurePrivateDir(dir) ? dir + "/" : std::string();
}

std::string PrivateTempFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (IsPrivateRuntimeDir(runtime)) {
    const std::string dir = runtime;
    return dir.back() == '/' ? dir : dir + "/";
  }
  const char* tmp = std::getenv("TMPDIR");
  return PrivateFolderIn(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp");
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
  const std::string path = PrivateTempFolder();
  if (path.empty()) return 0;
  if (buffer == nullptr || path.size() + 1 > bufferLength) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
