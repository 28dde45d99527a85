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
  try {
    // Entry points are looked up before anything is reported, so a throwing OnMessage handler
    // can never leave stale addresses from an earlier load behind.
    ExecEntry = nullptr;
    VersionEntry = nullptr;
    LibraryHandle = LoadLibraryA(fileName.c_str());
    if (!LibraryHandle) {
      ReportMessage(MessageId::LibraryNotFound, "");
    } else {
      ExecEntry = reinterpret_cast<KvxUnzipExecFunction>(GetProcAddress(LibraryHandle, "KvxUnzipExec"));
      VersionEntry =
          reinterpret_cast<GetKvxUnzipVersionFunction>(GetProcAddress(LibraryHandle, "GetKvxUnzipVersion"));
      if (Trace()) ReportMessage(MessageId::LibraryLoaded, "");
      if (!ExecEntry) ReportMessage(MessageId::ExecFunctionNotFound, "");
      if (!VersionEntry) ReportMessage(MessageId::VersionFunctionNotFound, "");
    }
  } catch (...) {
  }
  SetErrorMode(0);
}

void TZipComponent::UnloadUnzipLibrary() {
  if (LibraryHandle) FreeLibrary(LibraryHandle);
  LibraryHandle = nullptr;
  ExecEntry = nullptr;
  VersionEntry = nullptr;
}

std::int32_t TZipComponent::UnzipLibraryVersion() {
  bool loadedHere = false;
  if (!LibraryHandle) {
    LoadUnzipLibrary();
    loadedHere = LibraryHandle != nullptr;
  }
  if (!LibraryHandle) return 0;
  // Without the export the version is unknown: 0, and the missing function is never called.
  const std::int32_t version = VersionEntry ? VersionEntry() : 0;
  if (loadedHere) UnloadUnzipLibrary();
  return version;
}
