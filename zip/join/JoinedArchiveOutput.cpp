// Writing the joined archive: creating the output where it may go, single writes, copies from
// the input across volumes, and the end of the output when the run ends.
#include <algorithm>
#include <limits>

#include "platform/Folders.h"
#include "zip/ComponentServices.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/join/JoinedArchive.h"
#include "zip/volumes/VolumeNames.h"
#include "zip/volumes/ZipVolume.h"

void TJoinedArchive::CreateOutput(const std::string& archiveName, std::string& outName) {
  int keptMode = -1;
  if (!outName.empty() && !EndsInDelimiter(outName)) {
    outName = ExpandFileName(ChangeFileExt(outName, ".zip"));
    if (IsFileOfSet(outName, archiveName)) throw EZipComponent(MessageId::OutputCreateFailed, true);
    keptMode = FileModeOf(outName);
    FOwner.RemoveExistingFile(outName, FOwner.HowToDelete());
  } else {
    outName = FOwner.NewTempArchiveName("", "");
    if (outName.empty()) throw EZipComponent(MessageId::TempFileCreateFailed, true);
  }
  // A name that was free a moment ago is created exclusively, so the output never goes through
  // a file or link someone put there since.
  FOutput.Reset(FileCreateExclusive(outName));
  if (!FOutput.IsOpen()) throw EZipComponent(MessageId::OutputCreateFailed, true);
  // The file it replaces keeps its permissions.
  if (keptMode >= 0) FileSetMode(FOutput.Get(), keptMode);
}

std::uint32_t TJoinedArchive::OutputOffset(std::int32_t messageId) const {
  const std::int64_t position = FileSeek(FOutput.Get(), 0, 1);
  if (position < 0 || position > std::numeric_limits<std::uint32_t>::max())
    throw EZipComponent(messageId, true);
  return static_cast<std::uint32_t>(position);
}

void TJoinedArchive::WriteToOutput(const void* buffer, std::int32_t count, std::int32_t messageId) {
  if (count <= 0) return;
  if (FileWrite(FOutput.Get(), buffer, count) != count) throw EZipComponent(messageId, true);
  if (FOwner.OnProgress && FReportWrites) FOwner.OnProgress(FOwner.Sender(), ptWritten, std::string(), count);
}

void TJoinedArchive::CopyToOutput(TZipVolume& input, void* buffer, std::uint32_t count,
                                  std::int32_t messageId) {
  while (count > 0) {
    const std::uint32_t wanted = std::min(count, SpanTransferSize);
    const std::int64_t got = input.ReadInput(buffer, wanted);
    WriteToOutput(buffer, static_cast<std::int32_t>(got), messageId);
    count -= static_cast<std::uint32_t>(got);
    if (got < wanted) {
      if (!input.AtInputEnd()) throw EZipComponent(messageId, true);
      input.NextVolume(messageId);
    }
  }
}

void TJoinedArchive::Finish(std::string& outName, bool failed) noexcept {
  FreeSpanTable();
  FReportWrites = false;
  if (FOutput.IsOpen()) {
    if (FLastDiskDate > 0) FileSetDate(FOutput.Get(), FLastDiskDate);
    FOutput.Close();
    if (failed) {
      DeleteFileA(outName.c_str());
      outName.clear();
    }
  }
  FLastDiskDate = 0;
}
