// The library's two exports. Nothing thrown inside the library leaves through them: a failure is
// reported through the callback and KvxUnzipExec returns kvxExecFailed.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>

#include "kvx/Extractor.h"
#include "kvx/KvxMessages.h"
#include "kvx/KvxOptions.h"
#include "zipformat/KvxLib.h"

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

// What went wrong, for the message; anything not derived from std::exception has no text.
std::string FailureText(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

// Tells the caller about a failure that ended the run; a callback that throws again is not asked twice.
void ReportFailure(const UnzipCommandRecord& cmd, const std::exception_ptr& failure) noexcept {
  try {
    KvxCallbacks callbacks(cmd.Callback, cmd.Caller);
    if (callbacks.Message(kvxErrInternal, "Extraction stopped: " + FailureText(failure)))
      callbacks.BatchEnd();
  } catch (...) {
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t KvxUnzipExec(void* command) noexcept {
  if (!command) return 0;
  const auto& cmd = *static_cast<const UnzipCommandRecord*>(command);
  try {
    Extractor extractor(ParseCommand(cmd));
    return extractor.ExtractAll();
  } catch (...) {
    ReportFailure(cmd, std::current_exception());
    return kvxExecFailed;
  }
}

extern "C" __attribute__((visibility("default"))) int32_t GetKvxUnzipVersion(void) noexcept {
  return kvxLibraryVersion;
}
