// Drives and volumes against a staged drive table.
#include <gtest/gtest.h>

#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "tests/support/StagedDrives.h"
#include "tests/support/ZipComponentTestPeer.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/volumes/VolumeNames.h"

namespace {

class ZipVolumes : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    Application.Title = "Folivo";
    root = drives.Stage(folder / "floppy", "PKBACK# 003");
    volume.SetDriveRoot(root);
  }
  void TearDown() override { SetBackend(nullptr); }

  // The id of the EZipComponent the call raises, 0 when it raises none.
  template <typename F>
  static std::int32_t RaisedId(F&& call, bool* shown = nullptr) {
    try {
      call();
    } catch (const EZipComponent& e) {
      if (shown) *shown = e.ShowToUser();
      return e.MessageId();
    }
    return 0;
  }

  TTempFolder folder;
  TStagedDriveTable drives;
  TDriveTableScope scope{drives};
  TScriptedBackend backend;
  TZipComponent zip{nullptr};
  TZipVolume& volume = TZipComponentTestPeer::Volume(zip);
  std::string root;
};

TEST_F(ZipVolumes, ProbeReadsLabelSerialAndSpace) {
  EXPECT_TRUE(volume.ProbeDrive());
  EXPECT_EQ(volume.VolumeLabel(), "PKBACK# 003");
  EXPECT_EQ(volume.VolumeSerial(), 0x1234ABCDu);
  EXPECT_EQ(volume.DiskTotalBytes(), 1474560);
  EXPECT_EQ(volume.DiskFreeBytes(), 1 << 20);

  drives.Drive(root).failFreeSpaceEx = true;
  drives.Drive(root).totalBytes = 512 * 1000;
  volume.ReadDriveSpace(2);
  EXPECT_EQ(volume.DiskTotalBytes(), 512 * 1000);
  drives.Drive(root).failFreeSpace = true;
  volume.ReadDriveSpace(3);
  EXPECT_EQ(volume.DiskTotalBytes(), -1);
  EXPECT_EQ(volume.DiskFreeBytes(), -1);
  // A root without a drive letter counts as present once its volume can be read.
  EXPECT_TRUE(volume.ProbeDrive());
}

TEST_F(ZipVolumes, ProbeWithoutMediumOrFormat) {
  ASSERT_TRUE(volume.ProbeDrive());  // the free space of the disk that was in
  drives.EjectDisk(root);
  EXPECT_FALSE(volume.ProbeDrive());
  EXPECT_EQ(volume.VolumeLabel(), "");
  EXPECT_EQ(volume.DiskTotalBytes(), 0);
  EXPECT_EQ(volume.DiskFreeBytes(), 1 << 20);
  drives.Drive(root).noMedium = false;
  drives.Drive(root).unformatted = true;
  EXPECT_FALSE(volume.ProbeDrive());
  zip.SetAddOptions(AddOpts{AddDiskSpanErase});
  EXPECT_TRUE(volume.ProbeDrive());
}

TEST_F(ZipVolumes, DriveLetterRootsAreChecked) {
  volume.SetDriveRoot("1:\\");
  EXPECT_EQ(RaisedId([&] { volume.ProbeDrive(); }), MessageId::InvalidDrive);
  volume.SetDriveRoot("a:\\");
  EXPECT_EQ(RaisedId([&] { volume.ProbeDrive(); }), MessageId::DriveNotDefined);
  volume.SetDriveRoot("");
  EXPECT_EQ(RaisedId([&] { volume.ProbeDrive(); }), MessageId::InvalidDrive);
}

TEST_F(ZipVolumes, PromptAsksOnlyWhenNeeded) {
  EXPECT_EQ(volume.PromptForVolume(), DRIVE_REMOVABLE);
  EXPECT_TRUE(backend.shown.empty());
  EXPECT_GE(backend.processMessagesCalls, 1);

  const std::string hd = drives.Stage(folder / "hd", "", DRIVE_FIXED);
  volume.SetDriveRoot(hd);
  zip.SetUnattended(true);
  volume.SetNewVolumeWanted(true);
  EXPECT_EQ(volume.PromptForVolume(), DRIVE_FIXED);
  EXPECT_FALSE(volume.NewVolumeWanted());
  EXPECT_TRUE(backend.shown.empty());
}

TEST_F(ZipVolumes, PromptTexts) {
  volume.SetCurrentVolume(1);
  volume.SetLastVolume(3);
  volume.SetNewVolumeWanted(true);
  volume.PromptForVolume();
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].text, "Please insert disk volume 2 of 4\nin drive: " + root);
  EXPECT_EQ(backend.shown[0].caption, "Folivo");
  EXPECT_EQ(backend.shown[0].style, MB_OKCANCEL);

  volume.SetCurrentVolume(-1);
  volume.SetNewVolumeWanted(true);
  volume.PromptForVolume();
  EXPECT_EQ(backend.shown[1].text, "Please insert last disk\nin drive: " + root);
  EXPECT_EQ(backend.shown[1].style, MB_OKCANCEL | MB_ICONHAND);
}

TEST_F(ZipVolumes, PromptRepeatsUntilADiskIsIn) {
  drives.EjectDisk(root);
  int asked = 0;
  backend.onMessageBox = [&] {
    if (++asked == 3) drives.InsertDisk(root, "PKBACK# 001", std::vector<std::string>{});
  };
  EXPECT_EQ(volume.PromptForVolume(), DRIVE_REMOVABLE);
  EXPECT_EQ(asked, 3);
}

TEST_F(ZipVolumes, PromptFailures) {
  volume.SetNewVolumeWanted(true);
  backend.messageBoxAnswers = {IDCANCEL};
  bool shown = true;
  EXPECT_EQ(RaisedId([&] { volume.PromptForVolume(); }, &shown), MessageId::UserCanceled);
  EXPECT_FALSE(shown);
  EXPECT_FALSE(volume.NewVolumeWanted());

  volume.SetNewVolumeWanted(true);
  backend.messageBoxAnswers = {0};
  EXPECT_EQ(RaisedId([&] { volume.PromptForVolume(); }), MessageId::NoMemoryForMessageBox);

  volume.SetNewVolumeWanted(true);
  zip.SetUnattended(true);
  EXPECT_EQ(RaisedId([&] { volume.PromptForVolume(); }), MessageId::NoUnattendedSpanning);
}

TEST_F(ZipVolumes, NextDiskEventReplacesTheBox) {
  std::vector<std::int32_t> seen;
  zip.OnGetNextDisk = [&](TObject*, std::int32_t seq, std::int32_t total, const std::string& drive,
                          bool& abort) {
    seen = {seq, total};
    EXPECT_EQ(drive, root.substr(0, 1));
    abort = true;
  };
  volume.SetCurrentVolume(-1);
  volume.SetLastVolume(2);
  volume.SetNewVolumeWanted(true);
  EXPECT_EQ(RaisedId([&] { volume.PromptForVolume(); }), MessageId::UserCanceled);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 3}));
  EXPECT_TRUE(backend.shown.empty());
}

TEST_F(ZipVolumes, MatchByLabel) {
  volume.ProbeDrive();
  volume.SetCurrentVolume(2);
  EXPECT_TRUE(volume.MatchVolume(DRIVE_REMOVABLE));
  volume.SetCurrentVolume(1);
  EXPECT_FALSE(volume.MatchVolume(DRIVE_REMOVABLE));
  drives.Drive(root).label = "pkback# 003";
  volume.ProbeDrive();
  volume.SetCurrentVolume(2);
  EXPECT_FALSE(volume.MatchVolume(DRIVE_CDROM));
}

TEST_F(ZipVolumes, MatchRenamesNumberedFiles) {
  volume.SetVolumeFileName("/set/part001.zip");
  volume.SetCurrentVolume(1);
  EXPECT_TRUE(volume.MatchVolume(DRIVE_FIXED));
  EXPECT_EQ(volume.VolumeFileName(), "/set/part002.zip");
  volume.SetVolumeFileName("/set.d/part001");
  volume.SetCurrentVolume(11);
  EXPECT_TRUE(volume.MatchVolume(DRIVE_REMOTE));
  EXPECT_EQ(volume.VolumeFileName(), "/set.d/part012");
  // Too short a name part is refused instead of being cut into its folder.
  volume.SetVolumeFileName("/set/ab.zip");
  EXPECT_EQ(RaisedId([&] { volume.MatchVolume(DRIVE_FIXED); }), MessageId::InputFileMissing);
  EXPECT_EQ(volume.VolumeFileName(), "/set/ab.zip");
}

TEST(VolumeNames, BothNamingsOfASetAndTheDiskLabel) {
  EXPECT_EQ(VolumeLabelFor(2), "PKBACK# 003");
  EXPECT_EQ(VolumeLabelFor(-1), "PKBACK# 000");
  EXPECT_EQ(DiskOfLabel("PKBACK# 012"), 12);
  EXPECT_EQ(DiskOfLabel("pkback# 012"), 0);
  EXPECT_EQ(VolumeFileFor(VolumeNaming::Numbered, "/s/part007.zip", 11, 20), "/s/part012.zip");
  EXPECT_EQ(VolumeFileFor(VolumeNaming::Split, "/s/set.zip", 0, 3), "/s/set.z01");
  EXPECT_EQ(VolumeFileFor(VolumeNaming::Split, "/s/SET.ZIP", 99, 120), "/s/SET.Z100");
  EXPECT_EQ(VolumeFileFor(VolumeNaming::Split, "/s/set.zip", 3, 3), "/s/set.zip");
  EXPECT_EQ(PartNumberOf("/s/part012.zip"), 12);
  EXPECT_EQ(PartNumberOf("/s/set.z02"), 2);
  EXPECT_EQ(PartNumberOf("/s/set.zip"), 0);
  EXPECT_EQ(NamingOf("/s/set.z02", 0), VolumeNaming::Split);
  EXPECT_EQ(NamingOf("/nowhere/set.zip", 3), VolumeNaming::Numbered);
}

TEST_F(ZipVolumes, SplitSetPartsAreOpenedByTheirOwnNamesOnAnyDrive) {
  const std::string hd = drives.Stage(folder / "hd", "", DRIVE_FIXED);
  WriteBytes(hd + "set.z02", "part two");
  WriteBytes(hd + "set.zip", "last part");
  WriteBytes(root + "set.z01", "part one");
  WriteBytes(root + "set.zip", "last part");
  // The first part is missing, yet the set is told split by its second.
  volume.StartAt(hd + "set.zip");
  volume.SetLastVolume(2);
  volume.OpenVolume(1);
  EXPECT_EQ(volume.VolumeFileName(), hd + "set.z02");
  volume.OpenVolume(2);
  EXPECT_EQ(volume.VolumeFileName(), hd + "set.zip");
  EXPECT_EQ(RaisedId([&] { volume.OpenVolume(0); }), MessageId::InputFileMissing);
  EXPECT_EQ(volume.VolumeFileName(), hd + "set.z01");

  // A removable disk of a split set has no label to match: a part on it is taken without a
  // prompt, and one that is not asks for another disk.
  zip.SetUnattended(true);
  volume.StartAt(root + "set.zip");
  volume.OpenVolume(0);
  EXPECT_EQ(volume.VolumeFileName(), root + "set.z01");
  EXPECT_NE(volume.VolumeHandle(), NoFileHandle);
  EXPECT_EQ(RaisedId([&] { volume.OpenVolume(1); }), MessageId::NoUnattendedSpanning);
}

TEST_F(ZipVolumes, OpenVolumeOnAFixedDrive) {
  const std::string hd = drives.Stage(folder / "hd", "", DRIVE_FIXED);
  WriteBytes(hd + "set002.zip", "volume two");
  volume.SetDriveRoot(hd);
  volume.SetVolumeFileName(hd + "set001.zip");
  volume.OpenVolume(1);
  EXPECT_NE(volume.VolumeHandle(), NoFileHandle);
  EXPECT_EQ(volume.CurrentVolume(), 1);
  EXPECT_EQ(RaisedId([&] { volume.OpenVolume(4); }), MessageId::InputFileMissing);
  EXPECT_EQ(volume.VolumeHandle(), NoFileHandle);
}

TEST_F(ZipVolumes, OpenVolumeOnARemovableDriveWaitsForTheRightDisk) {
  const std::string disk1 = folder / "disk1.zip";
  WriteBytes(disk1, "first");
  volume.SetVolumeFileName(root + "set.zip");
  volume.SetLastVolume(2);
  int asked = 0;
  backend.onMessageBox = [&] {
    if (++asked == 2)
      drives.InsertDisk(root, "PKBACK# 001",
                        std::vector<std::pair<std::string, std::string>>{{disk1, "set.zip"}});
  };
  volume.OpenVolume(0);
  EXPECT_EQ(asked, 2);
  EXPECT_NE(volume.VolumeHandle(), NoFileHandle);
  volume.CloseVolume();
  EXPECT_EQ(volume.VolumeHandle(), NoFileHandle);
}

}  // namespace
