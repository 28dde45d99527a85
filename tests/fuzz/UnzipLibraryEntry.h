#pragma once
// The unzip library's entry point for the fuzz targets, loaded from the build's bin folder; the
// target stops at once when the library or its entry is missing.
#include <dlfcn.h>

#include <cstdlib>

#include "zipformat/KvxLib.h"

inline KvxUnzipExecFunction LoadUnzipLibraryEntry() {
  void* handle = dlopen(FOLIVO_BIN_DIR "/libkvx.so", RTLD_NOW);
  auto exec =
      handle != nullptr ? reinterpret_cast<KvxUnzipExecFunction>(dlsym(handle, "KvxUnzipExec")) : nullptr;
  if (exec == nullptr) std::abort();
  return exec;
}
