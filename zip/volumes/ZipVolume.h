#pragma once
// The volume of an archive that is in use: the drive it lies on, the numbers of the wanted and
// the last volume, and the one volume file that is open. It asks for disks through its owner's
// settings and events, and reads the volumes of a spanned set in order. Every operation that
// fails raises EZipComponent; at most one volume file is open, and it is closed with the object.
#include <cstdint>
#include <optional>
#include <string>

#include "zip/volumes/OwnedFile.h"
#include "zip/volumes/VolumeNames.h"

class TComponentServices;

// Size of the buffer that carries extra fields, data and comments from one file to another.
constexpr std::uint32_t SpanTransferSize = 65536;

class TZipVolume {
 public:
  explicit TZipVolume(TComponentServices& owner) : FOwner(owner) {}
  TZipVolume(const TZipVolume&) = delete;
  TZipVolume& operator=(const TZipVolume&) = delete;

  // The drive: its root with a trailing delimiter, and what the last probe read of it.
  const std::string& DriveRoot() const { return FDriveRoot; }
  void SetDriveRoot(const std::string& root) { FDriveRoot = root; }
  const std::string& VolumeLabel() const { return FVolumeLabel; }
  std::uint32_t VolumeSerial() const { return FVolumeSerial; }
  std::int64_t DiskTotalBytes() const { return FDiskTotalBytes; }
  std::int64_t DiskFreeBytes() const { return FDiskFreeBytes; }

  // The volumes: zero-based numbers; -1 as the current one asks for the last, number unknown.
  std::int32_t CurrentVolume() const { return FCurrentVolume; }
  void SetCurrentVolume(std::int32_t n) { FCurrentVolume = n; }
  std::int32_t LastVolume() const { return FLastVolume; }
  void SetLastVolume(std::int32_t n) { FLastVolume = n; }
  bool NewVolumeWanted() const { return FNewVolumeWanted; }
  void SetNewVolumeWanted(bool wanted) { FNewVolumeWanted = wanted; }
  const std::string& VolumeFileName() const { return FVolumeFileName; }
  void SetVolumeFileName(const std::string& name) { FVolumeFileName = name; }
  FileHandle VolumeHandle() const { return FFile.Get(); }
  bool IsOpen() const { return FFile.IsOpen(); }

  // Starts on the file the user picked: its name and the root of its drive; closes what is open.
  // How its set's files are named is told from the files beside it when a volume is first opened.
  void StartAt(const std::string& fileName);

  // bit 0 stores the free space, bit 1 the total size; -1 when neither query answers.
  void ReadDriveSpace(int which);
  // True when a readable medium is in the drive; raises 11003 or 11004 for a bad drive.
  bool ProbeDrive();
  // Waits until a medium is in the drive (prompting at least once while NewVolumeWanted) and
  // returns the drive's type; raises 11025, 11006 or 11007.
  std::uint32_t PromptForVolume();
  // True when the medium or file at hand is the wanted volume; on a fixed or network drive the
  // file name becomes the wanted volume's file in the naming of the set.
  bool MatchVolume(std::uint32_t driveType);
  // Asks for volume n until it is there and opens it at position 0.
  void OpenVolume(std::int32_t n);
  // Opens VolumeFileName as it stands; false when it cannot be opened. A file that is no regular
  // file (a pipe, a device) raises 11049 instead of being opened.
  bool OpenFile();
  void CloseVolume() { FFile.Close(); }

  // Bytes read from the open volume into buffer, up to count; a failed read gives 0.
  std::int64_t ReadInput(void* buffer, std::int64_t count);
  // True when the open volume's position is its end; the position is kept.
  bool AtInputEnd();
  // Opens the volume after the current one; raises messageId when the current one is the last.
  void NextVolume(std::int32_t messageId);
  // Reads a fixed record whole. A short read at the end of a volume drops its bytes and reads
  // the record again from the start of the next volume; anywhere else it raises messageId.
  void ReadRecord(std::uint8_t* record, std::int64_t size, std::int32_t messageId);
  // Passes over count bytes, continuing on the next volume when one ends; seek failures raise
  // messageId.
  void SkipInput(std::uint32_t count, std::int32_t messageId);

 private:
  // The naming of the set started at, told once the number of its last volume is known.
  VolumeNaming Naming();
  // The file of the wanted volume in a split set.
  std::string SplitPartName() {
    return VolumeFileFor(VolumeNaming::Split, FSetFileName, FCurrentVolume, FLastVolume);
  }
  TComponentServices& FOwner;
  std::string FDriveRoot;
  std::string FVolumeLabel;
  std::uint32_t FVolumeSerial = 0;
  std::int64_t FDiskTotalBytes = 0;
  std::int64_t FDiskFreeBytes = 0;
  std::int32_t FCurrentVolume = 0;
  std::int32_t FLastVolume = 0;
  bool FNewVolumeWanted = false;
  std::string FVolumeFileName;
  std::string FSetFileName;             // the file the set was started at
  std::optional<VolumeNaming> FNaming;  // none until told
  TOwnedFile FFile;
};
