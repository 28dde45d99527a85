// The library's two exports.
#include <algorithm>
#include <cstdint>

#include "kvx/Extractor.h"
#include "kvx/KvxOptions.h"
#include "zip/KvxLib.h"

namespace {

std::string Text(const char* text) {
  return text ? std::string(text) : std::string();
}

KvxOptions ParseCommand(const UnzipCommandRecord& cmd) {
  KvxOptions o;
  o.ArchiveName = Text(cmd.ArchiveName);
  o.Password = Text(cmd.Password);
  if (cmd.Specs)
    for (std::int32_t i = 0; i < cmd.SpecCount; ++i)
      if (cmd.Specs[i].FileSpec) o.Specs.push_back(cmd.Specs[i].FileSpec);
  o.Test = cmd.TestFlag != 0;
  o.Update = cmd.UpdateFlag != 0;
  o.Freshen = cmd.FreshenFlag != 0 && !o.Update;
  o.DirNames = cmd.DirNamesFlag != 0;
  o.Overwrite = cmd.OverwriteFlag != 0;
  o.PasswordReqCount = std::max<std::int32_t>(0, cmd.PasswordReqCount);
  o.Callback = cmd.Callback;
  o.Caller = cmd.Caller;
  return o;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t KvxUnzipExec(void* command) {
  if (!command) return 0;
  // Exceptions thrown by the callback pass through to the caller; open files are cleaned up on the way.
  Extractor extractor(ParseCommand(*static_cast<const UnzipCommandRecord*>(command)));
  return extractor.Run();
}

extern "C" __attribute__((visibility("default"))) int32_t GetKvxUnzipVersion(void) {
  return kvxLibraryVersion;
}
