// The private per-user temporary folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Folders.h"

namespace {

bool IsPrivateRuntimeDir(const char* path) {
  struct stat st {};
  if (path == nullptr || path[0] != '/' || lstat(path, &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

// Makes sure that path is a real folder of ours with mode 0700; fixes the mode of our own folder
// unless others could write into it, as they may have planted entries there.
bool EnsurePrivateDir(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return false;
  if ((st.st_mode & 07777) != 0700 && chmod(path.c_str(), 0700) != 0) return false;
  return true;
}

std::string PrivateTempDir() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (IsPrivateRuntimeDir(runtime)) {
    std::string dir = runtime;
    return dir.back() == '/' ? dir : dir + "/";
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string base = (tmp != nullptr && tmp[0] == '/') ? tmp : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  if (base != "/") base += '/';
  std::string dir = base + "folivo-" + std::to_string(geteuid());
  return EnsurePrivateDir(dir) ? dir + "/" : std::string();
}

}  // namespace

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
  const std::string path = PrivateTempDir();
  if (path.empty()) return 0;
  if (buffer == nullptr || path.size() + 1 > bufferLength) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
