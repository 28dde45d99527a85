#pragma once
// What one call of KvxUnzipExec asks for, copied out of the command record.
#include <cstdint>
#include <string>
#include <vector>

#include "zipformat/ZipCallback.h"

struct KvxOptions {
  std::string ArchiveName;
  std::string Password;            // empty: none
  std::vector<std::string> Specs;  // empty: every entry
  bool Test = false;
  bool Update = false;
  bool Freshen = false;
  bool DirNames = false;
  bool Overwrite = false;
  std::int32_t PasswordReqCount = 0;
  UnzipCallbackFunction Callback = nullptr;
  void* Caller = nullptr;
};
