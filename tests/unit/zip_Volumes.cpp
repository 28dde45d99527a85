// Drives and volumes against a staged drive table.
#include <gtest/gtest.h>

#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "tests/support/StagedDrives.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

class ZipVolumes : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    Application.Title = "Folivo";
    root = drives.Stage(folder / "floppy", "PKBACK# 003");
    zip.DriveRoot = root;
  }
  void TearDown() override { SetBackend(nullptr); }

  // The id of the EZipComponent the call raises, 0 when it raises none.
  template <typename F>
  static std::int32_t RaisedId(F&& call, bool* shown = nullptr) {
    try {
      call();
    } catch (const EZipComponent& e) {
      if (shown) *shown = e.ShowToUser;
      return e.MessageId;
    }
    return 0;
  }

  TTempFolder folder;
  TStagedDriveTable drives;
  TDriveTableScope scope{drives};
  TScriptedBackend backend;
  TZipComponent zip{nullptr};
  std::string root;
};

TEST_F(ZipVolumes, ProbeReadsLabelSerialAndSpace) {
  EXPECT_TRUE(zip.ProbeDrive());
  EXPECT_EQ(zip.VolumeLabel, "PKBACK# 003");
  EXPECT_EQ(zip.VolumeSerial, 0x1234ABCDu);
  EXPECT_EQ(zip.DiskTotalBytes, 1474560);
  EXPECT_EQ(zip.DiskFreeBytes, 1 << 20);

  drives.Drive(root).failFreeSpaceEx = true;
  drives.Drive(root).totalBytes = 512 * 1000;
  zip.ReadDriveSpace(2);
  EXPECT_EQ(zip.DiskTotalBytes, 512 * 1000);
  drives.Drive(root).failFreeSpace = true;
  zip.ReadDriveSpace(3);
  EXPECT_EQ(zip.DiskTotalBytes, -1);
  EXPECT_EQ(zip.DiskFreeBytes, -1);
  // A root without a drive letter counts as present once its volume can be read.
  EXPECT_TRUE(zip.ProbeDrive());
}

TEST_F(ZipVolumes, ProbeWithoutMediumOrFormat) {
  zip.DiskFreeBytes = 77;
  drives.EjectDisk(root);
  EXPECT_FALSE(zip.ProbeDrive());
  EXPECT_EQ(zip.VolumeLabel, "");
  EXPECT_EQ(zip.DiskTotalBytes, 0);
  EXPECT_EQ(zip.DiskFreeBytes, 77);
  drives.Drive(root).noMedium = false;
  drives.Drive(root).unformatted = true;
  EXPECT_FALSE(zip.ProbeDrive());
  zip.SetAddOptions(AddOpts{AddDiskSpanErase});
  EXPECT_TRUE(zip.ProbeDrive());
}

TEST_F(ZipVolumes, DriveLetterRootsAreChecked) {
  zip.DriveRoot = "1:\\";
  EXPECT_EQ(RaisedId([&] { zip.ProbeDrive(); }), MessageId::InvalidDrive);
  zip.DriveRoot = "a:\\";
  EXPECT_EQ(RaisedId([&] { zip.ProbeDrive(); }), MessageId::DriveNotDefined);
  zip.DriveRoot = "";
  EXPECT_EQ(RaisedId([&] { zip.ProbeDrive(); }), MessageId::InvalidDrive);
}

TEST_F(ZipVolumes, PromptAsksOnlyWhenNeeded) {
  EXPECT_EQ(zip.PromptForVolume(), DRIVE_REMOVABLE);
  EXPECT_TRUE(backend.shown.empty());
  EXPECT_GE(backend.processMessagesCalls, 1);

  const std::string hd = drives.Stage(folder / "hd", "", DRIVE_FIXED);
  zip.DriveRoot = hd;
  zip.SetUnattended(true);
  zip.NewVolumeWanted = true;
  EXPECT_EQ(zip.PromptForVolume(), DRIVE_FIXED);
  EXPECT_FALSE(zip.NewVolumeWanted);
  EXPECT_TRUE(backend.shown.empty());
}

TEST_F(ZipVolumes, PromptTexts) {
  zip.CurrentVolume = 1;
  zip.LastVolume = 3;
  zip.NewVolumeWanted = true;
  zip.PromptForVolume();
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].text, "Please insert disk volume 2 of 4\nin drive: " + root);
  EXPECT_EQ(backend.shown[0].caption, "Folivo");
  EXPECT_EQ(backend.shown[0].style, MB_OKCANCEL);

  zip.CurrentVolume = -1;
  zip.NewVolumeWanted = true;
  zip.PromptForVolume();
  EXPECT_EQ(backend.shown[1].text, "Please insert last disk\nin drive: " + root);
  EXPECT_EQ(backend.shown[1].style, MB_OKCANCEL | MB_ICONHAND);
}

TEST_F(ZipVolumes, PromptRepeatsUntilADiskIsIn) {
  drives.EjectDisk(root);
  int asked = 0;
  backend.onMessageBox = [&] {
    if (++asked == 3) drives.InsertDisk(root, "PKBACK# 001", std::vector<std::string>{});
  };
  EXPECT_EQ(zip.PromptForVolume(), DRIVE_REMOVABLE);
  EXPECT_EQ(asked, 3);
}

TEST_F(ZipVolumes, PromptFailures) {
  zip.NewVolumeWanted = true;
  backend.messageBoxAnswers = {IDCANCEL};
  bool shown = true;
  EXPECT_EQ(RaisedId([&] { zip.PromptForVolume(); }, &shown), MessageId::UserCanceled);
  EXPECT_FALSE(shown);
  EXPECT_FALSE(zip.NewVolumeWanted);

  zip.NewVolumeWanted = true;
  backend.messageBoxAnswers = {0};
  EXPECT_EQ(RaisedId([&] { zip.PromptForVolume(); }), MessageId::NoMemoryForMessageBox);

  zip.NewVolumeWanted = true;
  zip.SetUnattended(true);
  EXPECT_EQ(RaisedId([&] { zip.PromptForVolume(); }), MessageId::NoUnattendedSpanning);
}

TEST_F(ZipVolumes, NextDiskEventReplacesTheBox) {
  std::vector<std::int32_t> seen;
  zip.OnGetNextDisk = [&](TObject*, std::int32_t seq, std::int32_t total, const std::string& drive,
                          bool& abort) {
    seen = {seq, total};
    EXPECT_EQ(drive, root.substr(0, 1));
    abort = true;
  };
  zip.CurrentVolume = -1;
  zip.LastVolume = 2;
  zip.NewVolumeWanted = true;
  EXPECT_EQ(RaisedId([&] { zip.PromptForVolume(); }), MessageId::UserCanceled);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 3}));
  EXPECT_TRUE(backend.shown.empty());
}

TEST_F(ZipVolumes, MatchByLabel) {
  zip.ProbeDrive();
  zip.CurrentVolume = 2;
  EXPECT_TRUE(zip.MatchVolume(DRIVE_REMOVABLE));
  zip.CurrentVolume = 1;
  EXPECT_FALSE(zip.MatchVolume(DRIVE_REMOVABLE));
  drives.Drive(root).label = "pkback# 003";
  zip.ProbeDrive();
  zip.CurrentVolume = 2;
  EXPECT_FALSE(zip.MatchVolume(DRIVE_CDROM));
}

TEST_F(ZipVolumes, MatchRenamesNumberedFiles) {
  zip.VolumeFileName = "/set/part001.zip";
  zip.CurrentVolume = 1;
  EXPECT_TRUE(zip.MatchVolume(DRIVE_FIXED));
  EXPECT_EQ(zip.VolumeFileName, "/set/part002.zip");
  zip.VolumeFileName = "/set.d/part001";
  zip.CurrentVolume = 11;
  EXPECT_TRUE(zip.MatchVolume(DRIVE_REMOTE));
  EXPECT_EQ(zip.VolumeFileName, "/set.d/part012");
  // Too short a name part is refused instead of being cut into its folder.
  zip.VolumeFileName = "/set/ab.zip";
  EXPECT_EQ(RaisedId([&] { zip.MatchVolume(DRIVE_FIXED); }), MessageId::InputFileMissing);
  EXPECT_EQ(zip.VolumeFileName, "/set/ab.zip");
}

TEST_F(ZipVolumes, OpenVolumeOnAFixedDrive) {
  const std::string hd = drives.Stage(folder / "hd", "", DRIVE_FIXED);
  WriteBytes(hd + "set002.zip", "volume two");
  zip.DriveRoot = hd;
  zip.VolumeFileName = hd + "set001.zip";
  zip.OpenVolume(1);
  EXPECT_NE(zip.VolumeHandle, NoFileHandle);
  EXPECT_EQ(zip.CurrentVolume, 1);
  EXPECT_EQ(RaisedId([&] { zip.OpenVolume(4); }), MessageId::InputFileMissing);
  EXPECT_EQ(zip.VolumeHandle, NoFileHandle);
}

TEST_F(ZipVolumes, OpenVolumeOnARemovableDriveWaitsForTheRightDisk) {
  const std::string disk1 = folder / "disk1.zip";
  WriteBytes(disk1, "first");
  zip.VolumeFileName = root + "set.zip";
  zip.LastVolume = 2;
  int asked = 0;
  backend.onMessageBox = [&] {
    if (++asked == 2)
      drives.InsertDisk(root, "PKBACK# 001",
                        std::vector<std::pair<std::string, std::string>>{{disk1, "set.zip"}});
  };
  zip.OpenVolume(0);
  EXPECT_EQ(asked, 2);
  EXPECT_NE(zip.VolumeHandle, NoFileHandle);
  zip.CloseVolume();
  EXPECT_EQ(zip.VolumeHandle, NoFileHandle);
}

}  // namespace
