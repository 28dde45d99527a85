// List: reads the archive's central directory into DirEntries.
#include "classlib/BusyCursor.h"
#include "platform/Drives.h"
#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/records/DirectoryReader.h"

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
      TDirectoryReader(*this, FVolume, FList).ReadDirectory();
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

void TZipComponent::ClearDirEntries() {
  while (!FList.DirEntries.empty()) FList.DirEntries.pop_back();
}
