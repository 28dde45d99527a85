// The system's drives: mount points from /proc/self/mountinfo, the rest from /sys and /dev/disk.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "platform/Drives.h"
#include "platform/Folders.h"

namespace {

constexpr DWORD ERROR_NOT_READY = 21;

struct Mount {
  std::string mountPoint;
  std::string fsType;
  dev_t device = 0;
};

// Mount info escapes blanks and a few others as a backslash and three octal digits.
std::string DecodeOctal(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string digits = field.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string::npos) {
        out += static_cast<char>(std::strtol(digits.c_str(), nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

// /dev/disk names escape bytes as \xHH.
std::string DecodeHex(const std::string& name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name.compare(i, 2, "\\x") == 0 && i + 3 < name.size()) {
      const std::string digits = name.substr(i + 2, 2);
      if (digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
        out += static_cast<char>(std::strtol(digits.c_str(), nullptr, 16));
        i += 3;
        continue;
      }
    }
    out += name[i];
  }
  return out;
}

std::vector<Mount> ReadMounts() {
  std::vector<Mount> mounts;
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, majorMinor, root, mountPoint, field;
    if (!(fields >> id >> parent >> majorMinor >> root >> mountPoint)) continue;
    while (fields >> field && field != "-") {
    }
    Mount mount;
    if (!(fields >> mount.fsType)) continue;
    mount.mountPoint = DecodeOctal(mountPoint);
    unsigned major = 0, minor = 0;
    if (std::sscanf(majorMinor.c_str(), "%u:%u", &major, &minor) == 2) mount.device = makedev(major, minor);
    mounts.push_back(mount);
  }
  return mounts;
}

std::string MountPointOfRoot(const std::string& root) {
  std::string mountPoint = root;
  while (mountPoint.size() > 1 && mountPoint.back() == '/') mountPoint.pop_back();
  return mountPoint;
}

// The last mount at a point is the one on top.
bool FindMount(const std::string& root, Mount& found) {
  const std::string mountPoint = MountPointOfRoot(root);
  bool any = false;
  for (const Mount& mount : ReadMounts())
    if (mount.mountPoint == mountPoint) {
      found = mount;
      any = true;
    }
  return any;
}

bool IsUnder(const std::string& path, const std::string& folder) {
  return path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

bool BlockDeviceRemovable(dev_t device) {
  char link[64];
  std::snprintf(link, sizeof link, "/sys/dev/block/%u:%u", major(device), minor(device));
  char* real = realpath(link, nullptr);
  if (real == nullptr) return false;
  std::string folder = real;
  std::free(real);
  struct stat st = {};
  if (stat((folder + "/partition").c_str(), &st) == 0) folder = ExtractFileDir(folder);
  std::ifstream in(folder + "/removable");
  int removable = 0;
  return (in >> removable) && removable == 1;
}

// The name under /dev/disk/<kind> whose device node is the given device.
std::string DiskName(const std::string& kind, dev_t device) {
  const std::string folder = "/dev/disk/" + kind;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::string();
  std::string found;
  while (dirent* entry = readdir(dir)) {
    struct stat st = {};
    if (entry->d_name[0] == '.' || stat((folder + "/" + entry->d_name).c_str(), &st) != 0) continue;
    if (S_ISBLK(st.st_mode) && st.st_rdev == device) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

// A FAT serial "ABCD-1234" is 0xABCD1234; other identifiers give their first eight hex digits.
std::uint32_t SerialOfUuid(const std::string& uuid) {
  std::string digits;
  for (const char c : uuid) {
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    if (digits.size() == 8) break;
  }
  return digits.empty() ? 0 : static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
}

class SystemDriveTable : public DriveTable {
 public:
  std::string RootOf(const std::string& path) override {
    std::string existing = ExpandFileName(path);
    char* real = nullptr;
    while ((real = realpath(existing.c_str(), nullptr)) == nullptr && existing != "/")
      existing = ExtractFileDir(existing);
    const std::string resolved = real != nullptr ? real : "/";
    std::free(real);
    std::string best = "/";
    for (const Mount& mount : ReadMounts())
      if (IsUnder(resolved, mount.mountPoint) && mount.mountPoint.size() > best.size())
        best = mount.mountPoint;
    return best == "/" ? best : best + "/";
  }

  UINT DriveType(const std::string& root) override {
    static const std::set<std::string> remote = {"nfs",        "nfs4", "cifs", "smb3", "smbfs",    "sshfs",
                                                 "fuse.sshfs", "9p",   "afs",  "ceph", "glusterfs"};
    Mount mount;
    if (!FindMount(root, mount)) return DRIVE_NO_ROOT_DIR;
    if (remote.count(mount.fsType) != 0) return DRIVE_REMOTE;
    if (mount.fsType == "iso9660" || mount.fsType == "udf") return DRIVE_CDROM;
    if (IsUnder(mount.mountPoint, "/media") || IsUnder(mount.mountPoint, "/run/media") ||
        BlockDeviceRemovable(mount.device))
      return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
  }

  bool ReadVolume(const std::string& root, VolumeInfo& info, DWORD& lastError) override {
    Mount mount;
    struct statvfs vfs = {};
    if (!FindMount(root, mount) || statvfs(root.c_str(), &vfs) != 0) {
      lastError = ERROR_NOT_READY;
      return false;
    }
    info.label = DecodeHex(DiskName("by-label", mount.device));
    info.serial = SerialOfUuid(DiskName("by-uuid", mount.device));
    return true;
  }

  bool FreeSpaceEx(const std::string& root, std::int64_t& freeForCaller, std::int64_t& total) override {
    struct statvfs vfs = {};
    if (statvfs(root.c_str(), &vfs) != 0) return false;
    freeForCaller = static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
    total = static_cast<std::int64_t>(vfs.f_blocks) * static_cast<std::int64_t>(vfs.f_frsize);
    return true;
  }

  // Sectors of 512 bytes where the block size allows; cluster counts are capped at 32 bits.
  bool FreeSpace(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                 DWORD& freeClusters, DWORD& totalClusters) override {
    struct statvfs vfs = {};
    if (statvfs(root.c_str(), &vfs) != 0 || vfs.f_frsize == 0) return false;
    bytesPerSector = (vfs.f_frsize % 512 == 0) ? 512 : static_cast<DWORD>(vfs.f_frsize);
    sectorsPerCluster = static_cast<DWORD>(vfs.f_frsize / bytesPerSector);
    freeClusters = static_cast<DWORD>(std::min<unsigned long long>(vfs.f_bavail, UINT32_MAX));
    totalClusters = static_cast<DWORD>(std::min<unsigned long long>(vfs.f_blocks, UINT32_MAX));
    return true;
  }
};

}  // namespace

std::unique_ptr<DriveTable> MakeSystemDriveTable() {
  return std::make_unique<SystemDriveTable>();
}
