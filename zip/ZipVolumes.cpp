// Drives and volumes: the archive's drive, its label and space, the prompt for a disk, and the
// volume file that is open.
#include <cctype>
#include <cstring>
#include <limits>

#include "classlib/Application.h"
#include "classlib/Backend.h"
#include "platform/Drives.h"
#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipText.h"

namespace {

const std::string VolumeTagPrefix = "PKBACK# ";

// The three digits naming volume n (zero-based) of a set: 0 gives "001", -1 and 999 give "000".
std::string VolumeDigits(std::int32_t n) {
  const std::string text = std::to_string(static_cast<std::int64_t>(n) + 1 + 1000);
  return text.substr(text.size() - 3);
}

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

void TZipComponent::ReadDriveSpace(int which) {
  std::int64_t freeBytes = -1;
  std::int64_t totalBytes = -1;
  if (!GetDiskFreeSpaceExA(DriveRoot.c_str(), &freeBytes, &totalBytes, nullptr)) {
    freeBytes = -1;
    totalBytes = -1;
  }
  if (freeBytes == -1) {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (GetDiskFreeSpaceA(DriveRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &totalClusters)) {
      freeBytes = SpaceProduct(bytesPerSector, sectorsPerCluster, freeClusters);
      totalBytes = SpaceProduct(bytesPerSector, sectorsPerCluster, totalClusters);
    }
  }
  if (which & 1) DiskFreeBytes = freeBytes;
  if (which & 2) DiskTotalBytes = totalBytes;
}

bool TZipComponent::ProbeDrive() {
  DiskTotalBytes = 0;
  VolumeLabel.clear();
  const char first =
      DriveRoot.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(DriveRoot[0])));
  // A root that starts with a delimiter (a mount point, a network share) has no drive letter.
  const bool noLetter = first == '\\' || first == '/';
  if (!noLetter) {
    if (first < 'A' || first > 'Z') throw EZipComponent(MessageId::InvalidDrive, DriveRoot);
    if ((GetLogicalDrives() & (DWORD(1) << (first - 'A'))) == 0)
      throw EZipComponent(MessageId::DriveNotDefined, DriveRoot);
  }
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  char label[256] = {};
  DWORD serial = 0, maxComponentLength = 0, fileSystemFlags = 0;
  bool result = false;
  if (GetVolumeInformationA(DriveRoot.c_str(), label, 255, &serial, &maxComponentLength, &fileSystemFlags,
                            nullptr, 0)) {
    VolumeSerial = serial;
    VolumeLabel.assign(label, strnlen(label, 255));
    ReadDriveSpace(3);
    result = noLetter || DiskTotalBytes != -1;
  } else {
    result = GetLastError() == ERROR_GEN_FAILURE && AddOptions().Contains(AddDiskSpanErase);
  }
  SetErrorMode(oldMode);
  return result;
}

std::uint32_t TZipComponent::PromptForVolume() {
  Application.ProcessMessages();
  const std::uint32_t driveType = GetDriveTypeA(DriveRoot.c_str());
  int answer = IDOK;
  unsigned style = MB_OKCANCEL;
  while ((answer == IDOK && !ProbeDrive()) || NewVolumeWanted) {
    if (FixedOrRemote(driveType)) {
      NewVolumeWanted = false;
      break;
    }
    if (Unattended()) throw EZipComponent(MessageId::NoUnattendedSpanning, true);
    std::string prompt;
    if (CurrentVolume < 0) {
      prompt = LoadMessageText(MessageId::InsertLastDisk, "Please insert last disk in set");
      style |= MB_ICONHAND;
    } else {
      prompt = FormatZipText(
          LoadMessageText(MessageId::InsertVolumeOfCount, "Please insert disk volume %.1d of %.1d"),
          {static_cast<std::int64_t>(CurrentVolume) + 1, static_cast<std::int64_t>(LastVolume) + 1});
    }
    prompt += FormatZipText(LoadMessageText(MessageId::InDrive, "\r\nin drive: %s"), {DriveRoot});
    if (OnGetNextDisk) {
      bool abortAction = false;
      OnGetNextDisk(this, CurrentVolume + 1, LastVolume + 1, DriveRoot.substr(0, 1), abortAction);
      answer = abortAction ? IDABORT : IDOK;
    } else {
      answer = Backend().MessageBox(prompt, Application.Title, style);
    }
    NewVolumeWanted = false;
  }
  if (answer == 0) throw EZipComponent(MessageId::NoMemoryForMessageBox, true);
  if (answer != IDOK) throw EZipComponent(MessageId::UserCanceled, false);
  return driveType;
}

bool TZipComponent::MatchVolume(std::uint32_t driveType) {
  const std::string digits = VolumeDigits(CurrentVolume);
  if (!FixedOrRemote(driveType)) return VolumeLabel == VolumeTagPrefix + digits;
  // Numbered files: the three characters before the extension give way to the volume's digits.
  // A name part too short to hold them is refused rather than cut into its folder.
  const std::size_t slash = VolumeFileName.rfind(PathDelim);
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::string ext = ExtractFileExt(VolumeFileName);
  const std::size_t cut = 3 + ext.size();
  if (VolumeFileName.size() - nameStart < cut) throw EZipComponent(MessageId::InputFileMissing, true);
  VolumeFileName = VolumeFileName.substr(0, VolumeFileName.size() - cut) + digits + ext;
  return true;
}

void TZipComponent::OpenVolume(std::int32_t n) {
  CloseVolume();
  CurrentVolume = n;
  for (;;) {
    std::uint32_t driveType = 0;
    do {
      NewVolumeWanted = true;
      driveType = PromptForVolume();
    } while (!MatchVolume(driveType));
    VolumeHandle = FileOpenRead(VolumeFileName);
    if (VolumeHandle != NoFileHandle) return;
    if (FixedOrRemote(driveType)) throw EZipComponent(MessageId::InputFileMissing, true);
    ReportMessage(MessageId::InputFileMissing, "");
  }
}

void TZipComponent::CloseVolume() {
  if (VolumeHandle == NoFileHandle) return;
  FileClose(VolumeHandle);
  VolumeHandle = NoFileHandle;
}
