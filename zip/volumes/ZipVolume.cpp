// Drives and volumes: the archive's drive, its label and space, the prompt for a disk, and
// opening the volume file that is wanted.
#include "zip/volumes/ZipVolume.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "classlib/Application.h"
#include "classlib/Backend.h"
#include "platform/Drives.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "zip/ComponentServices.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/ZipPaths.h"
#include "zip/ZipText.h"

namespace {

bool FixedOrRemote(std::uint32_t driveType) {
  return driveType == DRIVE_FIXED || driveType == DRIVE_REMOTE;
}

// a * b * c in 64 bits, held at the largest value instead of wrapping.
std::int64_t SpaceProduct(DWORD a, DWORD b, DWORD c) {
  std::int64_t ab = 0, result = 0;
  if (__builtin_mul_overflow(static_cast<std::int64_t>(a), static_cast<std::int64_t>(b), &ab) ||
      __builtin_mul_overflow(ab, static_cast<std::int64_t>(c), &result))
    return std::numeric_limits<std::int64_t>::max();
  return result;
}

}  // namespace

void TZipVolume::ReadDriveSpace(int which) {
  std::int64_t freeBytes = -1;
  std::int64_t totalBytes = -1;
  if (!GetDiskFreeSpaceExA(FDriveRoot.c_str(), &freeBytes, &totalBytes, nullptr)) {
    freeBytes = -1;
    totalBytes = -1;
  }
  if (freeBytes == -1) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (GetDiskFreeSpaceA(FDriveRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &totalClusters)) {
      freeBytes = SpaceProduct(bytesPerSector, sectorsPerCluster, freeClusters);
      totalBytes = SpaceProduct(bytesPerSector, sectorsPerCluster, totalClusters);
    }
  }
  if (which & 1) FDiskFreeBytes = freeBytes;
  if (which & 2) FDiskTotalBytes = totalBytes;
}

bool TZipVolume::ProbeDrive() {
  FDiskTotalBytes = 0;
  FVolumeLabel.clear();
  const char first =
      FDriveRoot.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(FDriveRoot[0])));
  // A root that starts with a delimiter (a mount point, a network share) has no drive letter.
  const bool noLetter = first == '\\' || first == '/';
  if (!noLetter) {
    if (first < 'A' || first > 'Z') throw EZipComponent(MessageId::InvalidDrive, FDriveRoot);
    if ((GetLogicalDrives() & (DWORD(1) << (first - 'A'))) == 0)
      throw EZipComponent(MessageId::DriveNotDefined, FDriveRoot);
  }
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  char label[256] = {};
  DWORD serial = 0, maxComponentLength = 0, fileSystemFlags = 0;
  bool result = false;
  if (GetVolumeInformationA(FDriveRoot.c_str(), label, 255, &serial, &maxComponentLength, &fileSystemFlags,
                            nullptr, 0)) {
    FVolumeSerial = serial;
    FVolumeLabel.assign(label, strnlen(label, 255));
    ReadDriveSpace(3);
    result = noLetter || FDiskTotalBytes != -1;
  } else {
    result = GetLastError() == ERROR_GEN_FAILURE && FOwner.AddOptions().Contains(AddDiskSpanErase);
  }
  SetErrorMode(oldMode);
  return result;
}

std::uint32_t TZipVolume::PromptForVolume() {
  Application.ProcessMessages();
  const std::uint32_t driveType = GetDriveTypeA(FDriveRoot.c_str());
  int answer = IDOK;
  unsigned style = MB_OKCANCEL;
  while ((answer == IDOK && !ProbeDrive()) || FNewVolumeWanted) {
    if (FixedOrRemote(driveType)) {
      FNewVolumeWanted = false;
      break;
    }
    if (FOwner.Unattended()) throw EZipComponent(MessageId::NoUnattendedSpanning, true);
    std::string prompt;
    if (FCurrentVolume < 0) {
      prompt = FOwner.LoadMessageText(MessageId::InsertLastDisk, "Please insert last disk in set");
      style |= MB_ICONHAND;
    } else {
      prompt = FormatZipText(
          FOwner.LoadMessageText(MessageId::InsertVolumeOfCount, "Please insert disk volume %.1d of %.1d"),
          {static_cast<std::int64_t>(FCurrentVolume) + 1, static_cast<std::int64_t>(FLastVolume) + 1});
    }
    prompt += FormatZipText(FOwner.LoadMessageText(MessageId::InDrive, "\r\nin drive: %s"), {FDriveRoot});
    if (FOwner.OnGetNextDisk) {
      bool abortAction = false;
      FOwner.OnGetNextDisk(FOwner.Sender(), FCurrentVolume + 1, FLastVolume + 1, FDriveRoot.substr(0, 1),
                           abortAction);
      answer = abortAction ? IDABORT : IDOK;
    } else {
      answer = Backend().MessageBox(prompt, Application.Title, style);
    }
    FNewVolumeWanted = false;
  }
  if (answer == 0) throw EZipComponent(MessageId::NoMemoryForMessageBox, true);
  if (answer != IDOK) throw EZipComponent(MessageId::UserCanceled, false);
  return driveType;
}

bool TZipVolume::MatchVolume(std::uint32_t driveType) {
  if (Naming() == VolumeNaming::Split) {
    // The parts of a split set are named after its last file, the one the set was started at.
    // They carry no disk label: on removable media the disk in hand is right when the part is on it.
    FVolumeFileName = SplitPartName();
    return FixedOrRemote(driveType) || FileExists(FVolumeFileName);
  }
  if (!FixedOrRemote(driveType)) return FVolumeLabel == VolumeLabelFor(FCurrentVolume);
  // Numbered files: the three characters before the extension give way to the volume's digits.
  // A name part too short to hold them is refused rather than cut into its folder.
  const std::string name =
      VolumeFileFor(VolumeNaming::Numbered, FVolumeFileName, FCurrentVolume, FLastVolume);
  if (name.empty()) throw EZipComponent(MessageId::InputFileMissing, true);
  FVolumeFileName = name;
  return true;
}

void TZipVolume::OpenVolume(std::int32_t n) {
  CloseVolume();
  FCurrentVolume = n;
  for (;;) {
    std::uint32_t driveType = 0;
    do {
      // A part of a split set that is on the medium in hand needs no other disk.
      FNewVolumeWanted = Naming() != VolumeNaming::Split || !FileExists(SplitPartName());
      driveType = PromptForVolume();
    } while (!MatchVolume(driveType));
    if (OpenFile()) return;
    if (FixedOrRemote(driveType)) throw EZipComponent(MessageId::InputFileMissing, true);
    FOwner.ReportMessage(MessageId::InputFileMissing, "");
  }
}

bool TZipVolume::OpenFile() {
  CloseVolume();
  FFile.Reset(FileOpenRead(FVolumeFileName));
  if (FFile.IsOpen()) return true;
  if (IsSpecialFile(FVolumeFileName)) throw EZipComponent(MessageId::NotARegularFile, FVolumeFileName);
  return false;
}

void TZipVolume::StartAt(const std::string& fileName) {
  CloseVolume();
  FVolumeFileName = FSetFileName = fileName;
  FNaming.reset();
  FDriveRoot = WithTrailingBackslash(CurrentDriveTable().RootOf(ExpandFileName(fileName)));
}

VolumeNaming TZipVolume::Naming() {
  if (!FNaming) FNaming = FSetFileName.empty() ? VolumeNaming::Numbered : NamingOf(FSetFileName, FLastVolume);
  return *FNaming;
}
