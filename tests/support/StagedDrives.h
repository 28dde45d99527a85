#pragma once
// Drives staged in folders for tests. A staged drive's root is its folder plus "/"; every file
// under the folder lies on it. Other paths go to the system's drive table.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Drives.h"

struct TStagedDrive {
  std::string folder;  // absolute, no trailing "/"
  UINT type = DRIVE_REMOVABLE;
  std::string label;
  std::uint32_t serial = 0x1234ABCD;
  std::int64_t freeBytes = 1 << 20;
  std::int64_t totalBytes = 1474560;
  bool noMedium = false;     // volume reads fail with 21
  bool unformatted = false;  // volume reads fail with 31
  bool failFreeSpaceEx = false;
  bool failFreeSpace = false;
};

class TStagedDriveTable : public DriveTable {
 public:
  TStagedDriveTable();
  // Stages folder (created when missing) as a drive and returns its root.
  std::string Stage(const std::string& folder, const std::string& label = "", UINT type = DRIVE_REMOVABLE);
  // The staged drive of a root ("<folder>/"); throws std::out_of_range when there is none.
  TStagedDrive& Drive(const std::string& root);
  // Swaps the disk: empties the folder, copies the files in under their own names (or the name
  // given as second), sets the label and marks a formatted medium present.
  void InsertDisk(const std::string& root, const std::string& label, const std::vector<std::string>& files);
  void InsertDisk(const std::string& root, const std::string& label,
                  const std::vector<std::pair<std::string, std::string>>& filesAs);
  // Empties the folder and leaves the drive without a medium.
  void EjectDisk(const std::string& root);

  std::string RootOf(const std::string& path) override;
  UINT DriveType(const std::string& root) override;
  bool ReadVolume(const std::string& root, VolumeInfo& info, DWORD& lastError) override;
  bool FreeSpaceEx(const std::string& root, std::int64_t& freeForCaller, std::int64_t& total) override;
  bool FreeSpace(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                 DWORD& freeClusters, DWORD& totalClusters) override;

 private:
  TStagedDrive* Find(const std::string& root);
  std::unique_ptr<DriveTable> FSystem;
  std::map<std::string, TStagedDrive> FDrives;  // by root
};

// Installs a drive table for its lifetime and puts the one before back afterwards.
class TDriveTableScope {
 public:
  explicit TDriveTableScope(DriveTable& table);
  ~TDriveTableScope();
  TDriveTableScope(const TDriveTableScope&) = delete;
  TDriveTableScope& operator=(const TDriveTableScope&) = delete;

 private:
  DriveTable* FPrevious;
};
