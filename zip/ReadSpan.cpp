// ReadSpan: joins the volumes of a spanned set into one single-volume zip file.
#include <new>

#include "classlib/Application.h"
#include "zip/SpanJoin.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

std::int32_t TZipComponent::ReadSpan(const std::string& ArchiveName, std::string& OutName) {
  FInOperation = true;
  FVolume.StartAt(ArchiveName);
  FVolume.SetCurrentVolume(-1);
  FVolume.SetNewVolumeWanted(false);
  SetScreenCursor(crHourGlass);
  // Frees what the run holds however it ends; a failed run leaves no output behind.
  const auto endRun = [&](std::int32_t result) noexcept {
    FJoinedArchive.Finish(OutName, result != 0);
    FVolume.CloseVolume();
    FInOperation = false;
    SetScreenCursor(crDefault);
  };

  std::int32_t result = 0;
  try {
    try {
      FJoinedArchive.CreateOutput(ArchiveName, OutName);
      TSpanJoin join(*this, FVolume, FJoinedArchive);
      join.FindLastVolume();
      join.ReadCentralDirectory();
      join.StartData();
      join.CopyLocalEntries();
      join.CopyCentralDirectory();
      join.WriteEndRecord();
    } catch (const EZipComponent& error) {
      result = -7;
      ReportZipError(error);
    } catch (const std::bad_alloc&) {
      result = -8;
      ReportMessage(MessageId::OutOfMemory, "");
    } catch (const std::exception& error) {
      result = -9;
      ReportMessage(MessageId::SpanUnknownError, error.what());
    } catch (...) {
      result = -9;
      ReportMessage(MessageId::SpanUnknownError, "");
    }
    if (OnProgress) OnProgress(this, ptBatchEnd, std::string(), 0);
  } catch (...) {
    // Only an event handler gets here; the run still ends clean.
    endRun(-9);
    throw;
  }
  endRun(result);
  return result;
}
