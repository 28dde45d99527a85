// Run-time library loading with dlopen.
#include "platform/DynLib.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/Folders.h"

namespace {
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
}  // namespace

std::string ExecutableDirectory() {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return std::string();
  return ExtractFileDir(std::string(buffer.data(), static_cast<std::size_t>(n)));
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (fileName == nullptr || fileName[0] == '\0') {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const std::string name = fileName;
  void* module = nullptr;
  if (name.find('/') == std::string::npos) {
    const std::string beside = ExecutableDirectory() + "/" + name;
    if (FileExists(beside)) module = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (module == nullptr) module = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) SetLastError(ERROR_MOD_NOT_FOUND);
  return module;
}

void* GetProcAddress(HMODULE module, LPCSTR procName) {
  void* address = (module != nullptr && procName != nullptr) ? dlsym(module, procName) : nullptr;
  if (address == nullptr) SetLastError(ERROR_PROC_NOT_FOUND);
  return address;
}

BOOL FreeLibrary(HMODULE module) {
  return module != nullptr && dlclose(module) == 0;
}
