// List: reads the archive's central directory into DirEntries.
#include "classlib/BusyCursor.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zipformat/ZipRecords.h"

namespace {

// Closes the volume file however List ends.
class VolumeCloser {
 public:
  explicit VolumeCloser(TZipVolume& volume) : FVolume(volume) {}
  ~VolumeCloser() { FVolume.CloseVolume(); }
  VolumeCloser(const VolumeCloser&) = delete;
  VolumeCloser& operator=(const VolumeCloser&) = delete;

 private:
  TZipVolume& FVolume;
};

}  // namespace

void TZipComponent::List() {
  if (Designing) return;
  // Results of an earlier archive must not survive into this one.
  ClearDirEntries();
  FList = TListResults{};
  FVolume.CloseVolume();
  FVolume.SetLastVolume(0);
  bool error = false;
  std::uint8_t record[EndRec::Size] = {};

  if (!FileExists(ZipFileName())) {
    if (OnDirUpdate) OnDirUpdate(this);
    return;
  }
  {
    const VolumeCloser closer(FVolume);
    const TBusyCursor busy;  // ends before the volume closes
    try {
      FVolume.StartAt(ZipFileName());
      if (!FVolume.ProbeDrive()) throw EZipComponent(MessageId::DriveNotDefined, FVolume.DriveRoot());
      LocateEndRecord(record, true);
      ListCentralDirectory(record);
    } catch (...) {
      error = true;
      ReportFailure(std::current_exception(), {MessageId::OutOfMemory, MessageId::ListUnknownError, true});
    }
  }
  if (error) {
    FZipFileName.clear();
    FList.FirstEntryOffset = 0;
  }
  if (OnDirUpdate) OnDirUpdate(this);
}

std::string TZipComponent::ConvertOemName(const std::string& name) const {
  const auto host = static_cast<std::uint8_t>(FList.LastHostSystem);
  const auto version = static_cast<std::uint8_t>(FList.LastMadeByVersion);
  // cpAuto follows the rule the unzip library uses; HPFS and NTFS 5.0 hosts convert even with cpNone.
  const bool convert = CodePage() == cpOEM || (CodePage() == cpAuto && IsOemText(host, version)) ||
                       host == 6 || (host == 11 && version == 50);
  if (!convert) return name;
  std::string result;
  result.reserve(name.size());
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 128)
      result += c;
    else
      result += OemCharToAnsi(byte);
  }
  return result;
}

void TZipComponent::ClearDirEntries() {
  while (!FList.DirEntries.empty()) FList.DirEntries.pop_back();
}
