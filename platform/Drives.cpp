// The Win32-named drive calls, answered by the current drive table.
#include "platform/Drives.h"

#include <cstring>

namespace {

constexpr DWORD ERROR_NOT_READY = 21;
constexpr DWORD ERROR_BAD_LENGTH = 24;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
DriveTable* installedTable = nullptr;
thread_local DWORD lastError = 0;

DriveTable& SystemTable() {
  static const std::unique_ptr<DriveTable> table = MakeSystemDriveTable();
  return *table;
}

bool CopyText(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr) return true;
  if (text.size() + 1 > size) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

DriveTable& CurrentDriveTable() {
  return installedTable != nullptr ? *installedTable : SystemTable();
}
void SetDriveTable(DriveTable* table) {
  installedTable = table;
}

UINT GetDriveTypeA(LPCSTR root) {
  return root == nullptr ? DRIVE_NO_ROOT_DIR : CurrentDriveTable().DriveType(root);
}

// The table knows no file-system name: fsNameBuffer receives an empty text.
BOOL GetVolumeInformationA(LPCSTR root, LPSTR labelBuffer, DWORD labelSize, DWORD* serial,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPSTR fsNameBuffer,
                           DWORD fsNameSize) {
  if (root == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  VolumeInfo info;
  DWORD error = 0;
  if (!CurrentDriveTable().ReadVolume(root, info, error)) {
    SetLastError(error);
    return 0;
  }
  if (!CopyText(info.label, labelBuffer, labelSize) || !CopyText("", fsNameBuffer, fsNameSize)) {
    SetLastError(ERROR_BAD_LENGTH);
    return 0;
  }
  if (serial != nullptr) *serial = info.serial;
  if (maxComponentLength != nullptr) *maxComponentLength = 255;
  if (fileSystemFlags != nullptr) *fileSystemFlags = 0x3;  // case-sensitive, case-preserving
  return 1;
}

// The table knows the caller's free space only; totalFree receives that figure.
BOOL GetDiskFreeSpaceExA(LPCSTR root, std::int64_t* freeForCaller, std::int64_t* total,
                         std::int64_t* totalFree) {
  std::int64_t free = 0, size = 0;
  if (root == nullptr || !CurrentDriveTable().FreeSpaceEx(root, free, size)) {
    SetLastError(root == nullptr ? ERROR_INVALID_PARAMETER : ERROR_NOT_READY);
    return 0;
  }
  if (freeForCaller != nullptr) *freeForCaller = free;
  if (total != nullptr) *total = size;
  if (totalFree != nullptr) *totalFree = free;
  return 1;
}

BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters) {
  DWORD values[4] = {};
  if (root == nullptr || !CurrentDriveTable().FreeSpace(root, values[0], values[1], values[2], values[3])) {
    SetLastError(root == nullptr ? ERROR_INVALID_PARAMETER : ERROR_NOT_READY);
    return 0;
  }
  DWORD* outputs[4] = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  for (int i = 0; i < 4; ++i)
    if (outputs[i] != nullptr) *outputs[i] = values[i];
  return 1;
}

DWORD GetLogicalDrives() {
  return 0;
}
UINT SetErrorMode(UINT) {
  return 0;
}
DWORD GetLastError() {
  return lastError;
}
void SetLastError(DWORD error) {
  lastError = error;
}
