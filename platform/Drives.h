#pragma once
// Drives as the program sees them: a root is the mount point of a file system plus "/".
// Every query goes through the current drive table, which tests replace to stage a drive.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Win32Types.h"

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr UINT SEM_FAILCRITICALERRORS = 0x0001;
constexpr UINT SEM_NOGPFAULTERRORBOX = 0x0002;

struct VolumeInfo {
  std::string label;
  std::uint32_t serial = 0;
};

class DriveTable {
 public:
  virtual ~DriveTable() = default;
  // Root of the drive that holds the file or folder, with a trailing "/".
  virtual std::string RootOf(const std::string& path) = 0;
  virtual UINT DriveType(const std::string& root) = 0;
  // False with *lastError set when the volume cannot be read (no medium: 21, unformatted: 31).
  virtual bool ReadVolume(const std::string& root, VolumeInfo& info, DWORD& lastError) = 0;
  virtual bool FreeSpaceEx(const std::string& root, std::int64_t& freeForCaller, std::int64_t& total) = 0;
  virtual bool FreeSpace(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                         DWORD& freeClusters, DWORD& totalClusters) = 0;
};

// The system's drives, read from /proc/self/mountinfo, /sys/block, /dev/disk and statvfs.
std::unique_ptr<DriveTable> MakeSystemDriveTable();
DriveTable& CurrentDriveTable();
// Installs a table (tests); nullptr goes back to the system's. The caller keeps ownership.
void SetDriveTable(DriveTable* table);

UINT GetDriveTypeA(LPCSTR root);
BOOL GetVolumeInformationA(LPCSTR root, LPSTR labelBuffer, DWORD labelSize, DWORD* serial,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPSTR fsNameBuffer,
                           DWORD fsNameSize);
BOOL GetDiskFreeSpaceExA(LPCSTR root, std::int64_t* freeForCaller, std::int64_t* total,
                         std::int64_t* totalFree);
BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters);
DWORD GetLogicalDrives();      // no drive letters here: 0
UINT SetErrorMode(UINT mode);  // kept for the call sites; changes nothing
DWORD GetLastError();
void SetLastError(DWORD error);
