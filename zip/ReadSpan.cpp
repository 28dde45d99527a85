// ReadSpan: joins the volumes of a spanned set into one single-volume zip file.
#include <cctype>
#include <new>

#include "classlib/Application.h"
#include "platform/Drives.h"
#include "platform/Folders.h"
#include "zip/SpanJoin.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

// True when name is the archive itself or another numbered volume file of its set.
bool IsVolumeOfSet(const std::string& name, const std::string& archive) {
  const std::string a = ExpandFileName(name), b = ExpandFileName(archive);
  if (a == b) return true;
  const std::string ext = ExtractFileExt(b);
  if (a.size() != b.size() || ext.size() + 3 > b.size() || ExtractFileExt(a) != ext) return false;
  const std::size_t digits = b.size() - ext.size() - 3;
  for (std::size_t i = digits; i < digits + 3; ++i)
    if (!std::isdigit(static_cast<unsigned char>(a[i])) || !std::isdigit(static_cast<unsigned char>(b[i])))
      return false;
  return a.compare(0, digits, b, 0, digits) == 0;
}

// Makes OutName the name to write and creates that file. A name that was free a moment ago is
// created exclusively, so the output never goes through a file or link someone put there since.
void CreateOutput(TZipComponent& zip, const std::string& ArchiveName, std::string& OutName) {
  if (!OutName.empty() && !EndsInDelimiter(OutName)) {
    OutName = ExpandFileName(ChangeFileExt(OutName, ".zip"));
    if (IsVolumeOfSet(OutName, ArchiveName)) throw EZipComponent(MessageId::OutputCreateFailed, true);
    zip.RemoveExistingFile(OutName, zip.HowToDelete());
  } else {
    OutName = zip.NewTempArchiveName("", "");
    if (OutName.empty()) throw EZipComponent(MessageId::TempFileCreateFailed, true);
  }
  zip.OutputHandle = FileCreateExclusive(OutName);
  if (zip.OutputHandle == NoFileHandle) throw EZipComponent(MessageId::OutputCreateFailed, true);
}

void JoinVolumes(TZipComponent& zip, const std::string& ArchiveName, std::string& OutName) {
  CreateOutput(zip, ArchiveName, OutName);
  TSpanJoin join(zip);
  join.FindLastVolume();
  join.ReadCentralDirectory();
  join.StartData();
  join.CopyLocalEntries();
  join.CopyCentralDirectory();
  join.WriteEndRecord();
}

// Frees what the run holds; a failed run leaves no output behind.
void EndRun(TZipComponent& zip, std::string& OutName, std::int32_t result) noexcept {
  zip.FreeSpanTable();
  zip.CloseVolume();
  if (zip.OutputHandle != NoFileHandle) {
    if (zip.LastDiskDate > 0) FileSetDate(zip.OutputHandle, zip.LastDiskDate);
    FileClose(zip.OutputHandle);
    zip.OutputHandle = NoFileHandle;
    if (result != 0) {
      DeleteFileA(OutName.c_str());
      OutName.clear();
    }
  }
  zip.ReportWrites = false;
  zip.InOperation = false;
  SetScreenCursor(crDefault);
}

}  // namespace

std::int32_t TZipComponent::ReadSpan(const std::string& ArchiveName, std::string& OutName) {
  InOperation = true;
  CloseVolume();
  DriveRoot = WithTrailingBackslash(CurrentDriveTable().RootOf(ExpandFileName(ArchiveName)));
  CurrentVolume = -1;
  NewVolumeWanted = false;
  ReportWrites = false;
  VolumeFileName = ArchiveName;
  OutputHandle = NoFileHandle;
  LastDiskDate = 0;
  SetScreenCursor(crHourGlass);

  std::int32_t result = 0;
  try {
    try {
      JoinVolumes(*this, ArchiveName, OutName);
    } catch (const EZipComponent& error) {
      result = -7;
      ReportZipError(error);
    } catch (const std::bad_alloc&) {
      result = -8;
      ReportMessage(MessageId::OutOfMemory, "");
    } catch (const std::exception& error) {
      result = -9;
      ReportMessage(MessageId::SpanUnknownError, error.what());
    }
    if (OnProgress) OnProgress(this, ptBatchEnd, std::string(), 0);
  } catch (...) {
    // Only an event handler gets here; the run still ends clean.
    EndRun(*this, OutName, -9);
    throw;
  }
  EndRun(*this, OutName, result);
  return result;
}
