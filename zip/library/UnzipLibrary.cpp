// Loading and unloading the unzip library, and asking it for its version.
#include "zip/library/UnzipLibrary.h"

#include "platform/Drives.h"
#include "platform/DynLib.h"
#include "platform/Folders.h"
#include "zip/ComponentServices.h"
#include "zip/ZipMsg.h"

const char* const UnzipLibraryFileName = "libkvx.so";

namespace {
// While the library loads, a drive without a medium or a fault in it fails the call instead of
// showing a box of the system's own.
constexpr UINT LoadErrorMode = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX;
constexpr UINT DefaultErrorMode = 0;
}  // namespace

void TUnzipLibrary::Load() {
  std::string fileName = UnzipLibraryFileName;
  if (!FZip.DLLDirectory().empty()) {
    const std::string candidate = FZip.DLLDirectory() + PathDelim + UnzipLibraryFileName;
    if (FileExists(candidate)) fileName = candidate;
  }
  SetErrorMode(LoadErrorMode);
  // The error mode goes back to the default however the load ends; an exception, which only an OnMessage
  // handler raises here, goes on to the caller.
  const struct ErrorModeReset {
    ~ErrorModeReset() { SetErrorMode(DefaultErrorMode); }
  } errorModeReset;
  // Entry points are looked up before anything is reported, so a throwing OnMessage handler
  // can never leave stale addresses from an earlier load behind.
  FExecEntry = nullptr;
  FVersionEntry = nullptr;
  FHandle = LoadLibraryA(fileName.c_str());
  if (!FHandle) {
    FZip.ReportMessage(MessageId::LibraryNotFound, "");
    return;
  }
  FExecEntry = reinterpret_cast<KvxUnzipExecFunction>(GetProcAddress(FHandle, "KvxUnzipExec"));
  FVersionEntry = reinterpret_cast<GetKvxUnzipVersionFunction>(GetProcAddress(FHandle, "GetKvxUnzipVersion"));
  if (FZip.Trace()) FZip.ReportMessage(MessageId::LibraryLoaded, "");
  if (!FExecEntry) FZip.ReportMessage(MessageId::ExecFunctionNotFound, "");
  if (!FVersionEntry) FZip.ReportMessage(MessageId::VersionFunctionNotFound, "");
}

void TUnzipLibrary::Unload() {
  if (FHandle) FreeLibrary(FHandle);
  FHandle = nullptr;
  FExecEntry = nullptr;
  FVersionEntry = nullptr;
}

std::int32_t TUnzipLibrary::Version() {
  // Without the export the version is unknown: 0, and the missing function is never called.
  if (FHandle) return FVersionEntry ? FVersionEntry() : 0;
  // Loaded only to ask: unloaded again, also when a handler raises while it loads.
  const struct UnloadAfterwards {
    TUnzipLibrary& library;
    ~UnloadAfterwards() { library.Unload(); }
  } unload{*this};
  Load();
  return FHandle && FVersionEntry ? FVersionEntry() : 0;
}

std::exception_ptr TUnzipLibrary::TakeCallbackError() {
  std::exception_ptr error = FPendingError;
  FPendingError = nullptr;
  return error;
}
