// Extract: unpacks the archive named by ZipFileName through the unzip library.
#include <exception>

#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/library/UnzipCommand.h"
#include "zip/library/UnzipLibrary.h"

namespace {
// What one Extract call changed and gives back whichever way it ends.
struct ExtractRun {
  TZipComponent& zip;
  TUnzipLibrary& library;
  bool& inOperation;
  std::uint32_t savedPasswordReqCount;
  bool loadedHere = false;

  bool UnattendedWithoutPassword() const {
    return zip.Unattended() && zip.Password().empty() && !zip.OnPasswordError;
  }
  ~ExtractRun() {
    if (UnattendedWithoutPassword()) zip.SetPasswordReqCount(savedPasswordReqCount);
    if (loadedHere) library.Unload();
    zip.SetCancelRequested(false);
    inOperation = false;
  }
};

std::string AbsoluteName(const std::string& name) {
  return !name.empty() && name[0] == PathDelim ? name : ExpandFileName(name);
}

// Runs step; what it raised, or nothing.
template <typename Step>
std::exception_ptr Attempt(Step step) {
  try {
    step();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

// A failure that is not the component's own error (a fault in the library, an event handler's
// exception) is reported as the library's fatal error.
constexpr FailureIds ExtractFailureIds{MessageId::FatalUnzipLibraryError, MessageId::FatalUnzipLibraryError,
                                       false};

}  // namespace

std::int32_t TZipComponent::RunUnzipCommand(const std::string& archive, std::int32_t version) {
  // Without its version the library's record layout is unknown: it is not called.
  if (version == 0) throw EZipComponent(MessageId::FatalUnzipLibraryError, true);
  TUnzipCommand command(*this, archive, version);
  const KvxUnzipExecFunction exec = FLibrary.ExecEntry();
  if (!exec) throw EZipComponent(MessageId::FatalUnzipLibraryError, true);
  const std::exception_ptr outer = FLibrary.TakeCallbackError();
  const std::int32_t count = exec(command.Record());
  const std::exception_ptr failure = FLibrary.TakeCallbackError();
  FLibrary.KeepCallbackError(outer);
  if (failure) std::rethrow_exception(failure);
  return count;
}

void TZipComponent::Extract() {
  FExtractedCount = 0;
  if (ZipFileName().empty() || !FileExists(ZipFileName())) {
    ReportMessage(MessageId::NoArchiveNamed, "");
    return;
  }
  if (FInOperation) return;
  ExtractRun run{*this, FLibrary, FInOperation, PasswordReqCount()};
  FInOperation = true;
  if (run.UnattendedWithoutPassword()) {
    SetPasswordReqCount(0);
    ReportMessage(MessageId::UnattendedPasswordWarning, "");
  }
  FCancelRequested = false;

  if (!FLibrary.Handle()) {
    run.loadedHere = true;  // whatever the load leaves loaded goes again at the end
    if (const std::exception_ptr failure = Attempt([this] { FLibrary.Load(); })) {
      ReportFailure(failure, ExtractFailureIds);
      return;
    }
    if (!FLibrary.Handle()) return;
  }

  std::string archive = AbsoluteName(ZipFileName());
  const bool spanned = FVolume.LastVolume() != 0;
  if (spanned) {
    // Given no name, ReadSpan joins into a new temporary file in TempDir, or in the private
    // temporary folder when TempDir is empty.
    std::string joined;
    if (ReadSpan(archive, joined) != 0) return;
    FInOperation = true;
    archive = AbsoluteName(joined);
  }

  // The library writes below the current folder: a base folder that exists but cannot be
  // entered stops the extraction before anything is written elsewhere.
  if (!ExtrBaseDir().empty() && DirectoryExists(ExtrBaseDir()) &&
      !SetCurrentDirectoryA(ExtrBaseDir().c_str())) {
    if (spanned) DeleteFileA(archive.c_str());
    ReportMessage(MessageId::OutputCreateFailed, ": " + ExtrBaseDir());
    return;
  }
  const std::int32_t version = FLibrary.Version();

  const std::exception_ptr failure = Attempt([&] { FExtractedCount = RunUnzipCommand(archive, version); });
  FSpecArgs().Clear();
  // The joined file is the program's own temporary copy: it goes whatever the library did.
  if (spanned) DeleteFileA(archive.c_str());
  if (failure) ReportFailure(failure, ExtractFailureIds);
}
