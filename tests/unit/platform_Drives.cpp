// The drive calls on the system's table and on a staged removable drive.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/Drives.h"
#include "tests/support/StagedDrives.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

TEST(SystemDrives, RootsTypesAndVolumes) {
  DriveTable& table = CurrentDriveTable();
  EXPECT_EQ(table.RootOf("/proc/self/status"), "/proc/");
  EXPECT_EQ(table.RootOf("/proc"), "/proc/");
  EXPECT_EQ(table.RootOf("/no/such/place/file.kvx"), "/");
  EXPECT_EQ(GetDriveTypeA("/proc/"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveTypeA("/proc/self/"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetLogicalDrives(), 0u);

  char label[256] = {'?'};
  DWORD serial = 0;
  EXPECT_TRUE(GetVolumeInformationA("/", label, 255, &serial, nullptr, nullptr, nullptr, 0));
  std::int64_t free = -1, total = -1;
  EXPECT_TRUE(GetDiskFreeSpaceExA("/", &free, &total, nullptr));
  EXPECT_GT(total, 0);
  EXPECT_GE(free, 0);
  DWORD spc = 0, bps = 0, fc = 0, tc = 0;
  EXPECT_TRUE(GetDiskFreeSpaceA("/", &spc, &bps, &fc, &tc));
  EXPECT_GT(std::int64_t{spc} * bps * tc, 0);
}

TEST(SystemDrives, FailuresSetTheLastError) {
  SetLastError(0);
  char label[256];
  EXPECT_FALSE(GetVolumeInformationA("/no/such/mount/", label, 255, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), 21u);
}

class StagedDriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base = temp.Path();
    fs::create_directories(base / "source");
    std::ofstream(base / "source" / "part.zip") << "disk";
    root = table.Stage((base / "floppy").string(), "PKBACK# 001");
  }
  TTempFolder temp;
  fs::path base;
  TStagedDriveTable table;
  std::string root;
};

TEST_F(StagedDriveTest, AnswersForFilesUnderItsFolderOnly) {
  TDriveTableScope scope(table);
  EXPECT_EQ(root, (base / "floppy").string() + "/");
  EXPECT_EQ(CurrentDriveTable().RootOf((base / "floppy" / "part.zip").string()), root);
  EXPECT_EQ(CurrentDriveTable().RootOf((base / "floppyx" / "a").string()),
            CurrentDriveTable().RootOf("/tmp"));
  EXPECT_EQ(GetDriveTypeA(root.c_str()), DRIVE_REMOVABLE);
  EXPECT_EQ(GetDriveTypeA("/proc/"), DRIVE_FIXED);

  char label[256];
  DWORD serial = 0;
  ASSERT_TRUE(GetVolumeInformationA(root.c_str(), label, 255, &serial, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(label, "PKBACK# 001");
  EXPECT_EQ(serial, 0x1234ABCDu);
  std::int64_t free = 0, total = 0;
  ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &free, &total, nullptr));
  EXPECT_EQ(total, 1474560);
}

TEST_F(StagedDriveTest, DisksAreSwappedEjectedAndBroken) {
  TDriveTableScope scope(table);
  table.InsertDisk(root, "PKBACK# 002", {(base / "source" / "part.zip").string()});
  EXPECT_TRUE(fs::exists(base / "floppy" / "part.zip"));
  char label[256];
  ASSERT_TRUE(GetVolumeInformationA(root.c_str(), label, 255, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(label, "PKBACK# 002");

  table.EjectDisk(root);
  EXPECT_TRUE(fs::is_empty(base / "floppy"));
  EXPECT_FALSE(GetVolumeInformationA(root.c_str(), label, 255, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), 21u);
  std::int64_t free = 0, total = 0;
  EXPECT_FALSE(GetDiskFreeSpaceExA(root.c_str(), &free, &total, nullptr));

  table.InsertDisk(root, "", std::vector<std::string>{});
  EXPECT_TRUE(GetVolumeInformationA(root.c_str(), label, 255, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(label, "");
  table.Drive(root).unformatted = true;
  EXPECT_FALSE(GetVolumeInformationA(root.c_str(), label, 255, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
}

TEST_F(StagedDriveTest, ScopeRestoresTheTableBefore) {
  DriveTable* before = &CurrentDriveTable();
  {
    TDriveTableScope scope(table);
    EXPECT_EQ(&CurrentDriveTable(), &table);
  }
  EXPECT_EQ(&CurrentDriveTable(), before);
}
