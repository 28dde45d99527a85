// ReadSpan: joins the volumes of a spanned set into one single-volume zip file.
#include "classlib/BusyCursor.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/join/SpanJoin.h"
#include "zip/records/DirectoryReader.h"

namespace {

// ReadSpan's results for a join that failed: the component reported why, memory ran out, or
// anything else ended it.
constexpr std::int32_t JoinFailed = -7;
constexpr std::int32_t JoinOutOfMemory = -8;
constexpr std::int32_t JoinEndedOtherwise = -9;

// ReadSpan's result for what ended the join.
std::int32_t SpanResult(FailureKind failure) {
  switch (failure) {
    case FailureKind::Component:
      return JoinFailed;
    case FailureKind::OutOfMemory:
      return JoinOutOfMemory;
    case FailureKind::Other:
      break;
  }
  return JoinEndedOtherwise;
}

}  // namespace

std::int32_t TZipComponent::ReadSpan(const std::string& ArchiveName, std::string& OutName) {
  FInOperation = true;
  FVolume.StartAt(ArchiveName);
  FVolume.SetCurrentVolume(-1);
  FVolume.SetNewVolumeWanted(false);
  const TBusyCursor busy;  // ends after the run has ended
  // Frees what the run holds however it ends; a failed run leaves no output behind.
  const auto endRun = [&](std::int32_t result) noexcept {
    FJoinedArchive.Finish(OutName, result != 0);
    FVolume.CloseVolume();
    FInOperation = false;
  };

  std::int32_t result = 0;
  try {
    try {
      FJoinedArchive.CreateOutput(ArchiveName, OutName);
      TDirectoryReader directory(*this, FVolume, FList);
      TSpanJoin join(*this, FVolume, FJoinedArchive, directory);
      join.FindLastVolume();
      join.FillSpanTable();
      join.StartData();
      join.CopyLocalEntries();
      join.CopyCentralDirectory();
      join.WriteEndRecord();
    } catch (...) {
      result = SpanResult(ReportFailure(std::current_exception(),
                                        {MessageId::OutOfMemory, MessageId::SpanUnknownError, true}));
    }
    if (OnProgress) OnProgress(this, ptBatchEnd, std::string(), 0);
  } catch (...) {
    // Only an event handler gets here; the run still ends clean.
    endRun(JoinEndedOtherwise);
    throw;
  }
  endRun(result);
  return result;
}
