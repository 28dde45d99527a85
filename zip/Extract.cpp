// Extract: unpacks the archive named by ZipFileName through the unzip library.
#include <array>

#include "platform/Folders.h"
#include "zip/UnzipCommand.h"
#include "zip/UnzipLibrary.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {
// What one Extract call changed and gives back whichever way it ends.
struct ExtractRun {
  TZipComponent& zip;
  std::uint32_t savedPasswordReqCount;
  bool loadedHere = false;

  bool UnattendedWithoutPassword() const {
    return zip.Unattended() && zip.Password().empty() && !zip.OnPasswordError;
  }
  ~ExtractRun() {
    if (UnattendedWithoutPassword()) zip.SetPasswordReqCount(savedPasswordReqCount);
    if (loadedHere) zip.UnloadUnzipLibrary();
    zip.CancelRequested = false;
    zip.InOperation = false;
  }
};

std::string AbsoluteName(const std::string& name) {
  return !name.empty() && name[0] == PathDelim ? name : ExpandFileName(name);
}
}  // namespace

std::int32_t TZipComponent::RunUnzipCommand(const std::string& archive, std::int32_t version) {
  // Without its version the library's record layout is unknown: it is not called.
  if (version == 0) throw EZipComponent(MessageId::FatalUnzipLibraryError, true);
  TUnzipCommand command(*this, archive, version);
  const KvxUnzipExecFunction exec = UnzipExecEntry();
  if (!exec) throw EZipComponent(MessageId::FatalUnzipLibraryError, true);
  const std::exception_ptr outer = TakeUnzipCallbackError();
  const std::int32_t count = exec(command.Record());
  const std::exception_ptr failure = TakeUnzipCallbackError();
  KeepUnzipCallbackError(outer);
  if (failure) std::rethrow_exception(failure);
  return count;
}

void TZipComponent::Extract() {
  ExtractedCount = 0;
  if (ZipFileName().empty() || !FileExists(ZipFileName())) {
    ReportMessage(MessageId::NoArchiveNamed, "");
    return;
  }
  if (InOperation) return;
  ExtractRun run{*this, PasswordReqCount()};
  InOperation = true;
  if (run.UnattendedWithoutPassword()) {
    SetPasswordReqCount(0);
    ReportMessage(MessageId::UnattendedPasswordWarning, "");
  }
  CancelRequested = false;

  if (!UnzipLibraryHandle()) {
    LoadUnzipLibrary();
    run.loadedHere = UnzipLibraryHandle() != nullptr;
    if (!run.loadedHere) return;
  }

  std::string archive = AbsoluteName(ZipFileName());
  const bool spanned = FVolume.LastVolume() != 0;
  if (spanned) {
    std::string outName;
    if (!TempDir().empty()) {
      outName = WithTrailingBackslash(TempDir());
    } else {
      std::array<char, 261> buffer{};
      const DWORD length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
      if (length > 0 && length < buffer.size()) outName.assign(buffer.data(), length);
    }
    if (ReadSpan(archive, outName) != 0) return;
    InOperation = true;
    archive = AbsoluteName(outName);
  }

  if (!ExtrBaseDir().empty() && DirectoryExists(ExtrBaseDir())) SetCurrentDirectoryA(ExtrBaseDir().c_str());
  const std::int32_t version = UnzipLibraryVersion();

  try {
    ExtractedCount = RunUnzipCommand(archive, version);
  } catch (...) {
    FSpecArgs().Clear();
    if (spanned) DeleteFileA(archive.c_str());
    ReportMessage(MessageId::FatalUnzipLibraryError, "");
    return;
  }
  FSpecArgs().Clear();
  // The joined file is the program's own temporary copy: it goes whatever the library did.
  if (spanned) DeleteFileA(archive.c_str());
}
