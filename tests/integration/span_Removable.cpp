// Joining a set of labelled removable disks, each holding set.zip, with the disks swapped in a
// staged drive as the component asks for them.
#include "tests/integration/span_Fixture.h"
#include "tests/support/StagedDrives.h"

namespace {

class RemovableSets : public SpanJoinTest {
 protected:
  void SetUp() override {
    SpanJoinTest::SetUp();
    set.partSize = 300;
    set.entries = {{"a.txt", std::string(500, 'a')}, {"b.txt", std::string(200, 'b')}};
    parts = WriteNumberedParts(dir.Path(), "part", BuildCraftedSet(set));
    ASSERT_EQ(parts.size(), 3u);
    root = drives.Stage(dir / "drive", "", DRIVE_REMOVABLE);
  }
  // Puts disk k (1-based; 0 = the last) into the drive.
  void Insert(std::int32_t k) {
    const std::size_t index = k == 0 ? parts.size() - 1 : static_cast<std::size_t>(k - 1);
    char label[16];
    std::snprintf(label, sizeof label, "PKBACK# %03zu", index + 1);
    drives.InsertDisk(root, label,
                      std::vector<std::pair<std::string, std::string>>{{parts[index], "set.zip"}});
  }

  CraftedSet set;
  std::vector<std::string> parts;
  TStagedDriveTable drives;
  TDriveTableScope scope{drives};
  std::string root;
};

TEST_F(RemovableSets, DisksAreAskedForInTheOrderTheJoinNeedsThem) {
  zip.SetUnattended(false);
  std::vector<std::int32_t> asked;
  zip.OnGetNextDisk = [&](TObject*, std::int32_t disk, std::int32_t, const std::string&, bool&) {
    asked.push_back(disk);
    Insert(disk);
  };
  Insert(1);
  ASSERT_EQ(zip.ReadSpan(root + "set.zip", out = dir / "joined.zip"), 0) << messages.back();
  EXPECT_EQ(asked, (std::vector<std::int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(ZipfileListing(out), ExpectedListing(set));
  ExpectRunEnded();
}

TEST_F(RemovableSets, PromptsThroughTheMessageBoxAndStopsWhenCancelled) {
  zip.SetUnattended(false);
  backend.onMessageBox = [&] {
    const std::string& prompt = backend.shown.back().text;
    Insert(prompt.find("last disk") != std::string::npos ? 0 : prompt[prompt.find("volume ") + 7] - '0');
  };
  Insert(2);
  backend.messageBoxAnswers = {IDOK, IDOK, IDCANCEL};
  EXPECT_EQ(zip.ReadSpan(root + "set.zip", out = dir / "joined.zip"), -7);
  EXPECT_EQ(zip.LastErrorCode(), 11007);
  ASSERT_EQ(backend.shown.size(), 3u);
  EXPECT_EQ(backend.shown[0].text, "Please insert last disk\nin drive: " + root);
  EXPECT_EQ(backend.shown[1].text, "Please insert disk volume 1 of 3\nin drive: " + root);
  EXPECT_EQ(backend.shown[2].text, "Please insert disk volume 2 of 3\nin drive: " + root);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(FileExists(dir / "joined.zip"));
  ExpectRunEnded();
}

TEST_F(RemovableSets, UnattendedRunCannotAskForADisk) {
  Insert(1);
  EXPECT_EQ(zip.ReadSpan(root + "set.zip", out = dir / "joined.zip"), -7);
  EXPECT_EQ(zip.LastErrorCode(), 11025);
  EXPECT_FALSE(FileExists(dir / "joined.zip"));
  ExpectRunEnded();
}

}  // namespace
