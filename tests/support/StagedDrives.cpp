#include "tests/support/StagedDrives.h"

#include <filesystem>
#include <stdexcept>

#include "platform/Folders.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD ERROR_NOT_READY = 21;

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(ExpandFileName(path), ec);
  return ec ? ExpandFileName(path) : real.string();
}

void EmptyFolder(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
}

}  // namespace

TStagedDriveTable::TStagedDriveTable() : FSystem(MakeSystemDriveTable()) {}

std::string TStagedDriveTable::Stage(const std::string& folder, const std::string& label, UINT type) {
  fs::create_directories(folder);
  TStagedDrive drive;
  drive.folder = Canonical(folder);
  drive.label = label;
  drive.type = type;
  const std::string root = drive.folder + "/";
  FDrives[root] = drive;
  return root;
}

TStagedDrive* TStagedDriveTable::Find(const std::string& root) {
  auto it = FDrives.find(root);
  return it == FDrives.end() ? nullptr : &it->second;
}

TStagedDrive& TStagedDriveTable::Drive(const std::string& root) {
  return FDrives.at(root);
}

void TStagedDriveTable::InsertDisk(const std::string& root, const std::string& label,
                                   const std::vector<std::string>& files) {
  std::vector<std::pair<std::string, std::string>> filesAs;
  for (const auto& file : files) filesAs.emplace_back(file, fs::path(file).filename().string());
  InsertDisk(root, label, filesAs);
}

void TStagedDriveTable::InsertDisk(const std::string& root, const std::string& label,
                                   const std::vector<std::pair<std::string, std::string>>& filesAs) {
  TStagedDrive& drive = Drive(root);
  EmptyFolder(drive.folder);
  for (const auto& [source, name] : filesAs) fs::copy_file(source, drive.folder + "/" + name);
  drive.label = label;
  drive.noMedium = false;
  drive.unformatted = false;
}

void TStagedDriveTable::EjectDisk(const std::string& root) {
  TStagedDrive& drive = Drive(root);
  EmptyFolder(drive.folder);
  drive.noMedium = true;
}

std::string TStagedDriveTable::RootOf(const std::string& path) {
  const std::string full = Canonical(path);
  for (const auto& [root, drive] : FDrives)
    if (full == drive.folder || full.compare(0, root.size(), root) == 0) return root;
  return FSystem->RootOf(path);
}

UINT TStagedDriveTable::DriveType(const std::string& root) {
  const TStagedDrive* drive = Find(root);
  return drive != nullptr ? drive->type : FSystem->DriveType(root);
}

bool TStagedDriveTable::ReadVolume(const std::string& root, VolumeInfo& info, DWORD& lastError) {
  const TStagedDrive* drive = Find(root);
  if (drive == nullptr) return FSystem->ReadVolume(root, info, lastError);
  if (drive->noMedium || drive->unformatted) {
    lastError = drive->noMedium ? ERROR_NOT_READY : ERROR_GEN_FAILURE;
    return false;
  }
  info.label = drive->label;
  info.serial = drive->serial;
  return true;
}

bool TStagedDriveTable::FreeSpaceEx(const std::string& root, std::int64_t& freeForCaller,
                                    std::int64_t& total) {
  const TStagedDrive* drive = Find(root);
  if (drive == nullptr) return FSystem->FreeSpaceEx(root, freeForCaller, total);
  if (drive->noMedium || drive->unformatted || drive->failFreeSpaceEx) return false;
  freeForCaller = drive->freeBytes;
  total = drive->totalBytes;
  return true;
}

// Sectors of 512 bytes, one per cluster.
bool TStagedDriveTable::FreeSpace(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                                  DWORD& freeClusters, DWORD& totalClusters) {
  const TStagedDrive* drive = Find(root);
  if (drive == nullptr)
    return FSystem->FreeSpace(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
  if (drive->noMedium || drive->unformatted || drive->failFreeSpace) return false;
  sectorsPerCluster = 1;
  bytesPerSector = 512;
  freeClusters = static_cast<DWORD>(drive->freeBytes / 512);
  totalClusters = static_cast<DWORD>(drive->totalBytes / 512);
  return true;
}

TDriveTableScope::TDriveTableScope(DriveTable& table) : FPrevious(&CurrentDriveTable()) {
  SetDriveTable(&table);
}

TDriveTableScope::~TDriveTableScope() {
  SetDriveTable(FPrevious);
}
