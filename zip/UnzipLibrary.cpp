// Loading and unloading the unzip library, and asking it for its version.
#include "zip/UnzipLibrary.h"

#include "platform/Drives.h"
#include "platform/DynLib.h"
#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

const char* const UnzipLibraryFileName = "libkvx.so";

namespace {
HMODULE LibraryHandle = nullptr;
KvxUnzipExecFunction ExecEntry = nullptr;
GetKvxUnzipVersionFunction VersionEntry = nullptr;
}  // namespace

HMODULE UnzipLibraryHandle() {
  return LibraryHandle;
}
KvxUnzipExecFunction UnzipExecEntry() {
  return LibraryHandle ? ExecEntry : nullptr;
}
GetKvxUnzipVersionFunction UnzipVersionEntry() {
  return LibraryHandle ? VersionEntry : nullptr;
}

void TZipComponent::LoadUnzipLibrary() {
  std::string fileName = UnzipLibraryFileName;
  if (!DLLDirectory().empty()) {
    const std::string candidate = DLLDirectory() + PathDelim + UnzipLibraryFileName;
    if (FileExists(candidate)) fileName = candidate;
  }
  SetErrorMode(3);
  // The error mode goes back to 0 however the load ends; an exception, which only an OnMessage
  // handler raises here, goes on to the caller.
  const struct ErrorModeReset {
    ~ErrorModeReset() { SetErrorMode(0); }
  } errorModeReset;
  // Entry points are looked up before anything is reported, so a throwing OnMessage handler
  // can never leave stale addresses from an earlier load behind.
  ExecEntry = nullptr;
  VersionEntry = nullptr;
  LibraryHandle = LoadLibraryA(fileName.c_str());
  if (!LibraryHandle) {
    ReportMessage(MessageId::LibraryNotFound, "");
    return;
  }
  ExecEntry = reinterpret_cast<KvxUnzipExecFunction>(GetProcAddress(LibraryHandle, "KvxUnzipExec"));
  VersionEntry =
      reinterpret_cast<GetKvxUnzipVersionFunction>(GetProcAddress(LibraryHandle, "GetKvxUnzipVersion"));
  if (Trace()) ReportMessage(MessageId::LibraryLoaded, "");
  if (!ExecEntry) ReportMessage(MessageId::ExecFunctionNotFound, "");
  if (!VersionEntry) ReportMessage(MessageId::VersionFunctionNotFound, "");
}

void TZipComponent::UnloadUnzipLibrary() {
  if (LibraryHandle) FreeLibrary(LibraryHandle);
  LibraryHandle = nullptr;
  ExecEntry = nullptr;
  VersionEntry = nullptr;
}

std::int32_t TZipComponent::UnzipLibraryVersion() {
  // Without the export the version is unknown: 0, and the missing function is never called.
  if (LibraryHandle) return VersionEntry ? VersionEntry() : 0;
  // Loaded only to ask: unloaded again, also when a handler raises while it loads.
  const struct UnloadAfterwards {
    TZipComponent& zip;
    ~UnloadAfterwards() { zip.UnloadUnzipLibrary(); }
  } unload{*this};
  LoadUnzipLibrary();
  return LibraryHandle && VersionEntry ? VersionEntry() : 0;
}
