// List on spanned sets made at test time by zip -s: numbered files on a fixed drive, and the
// same parts as labelled disks in a staged removable drive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "tests/support/StagedDrives.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace fs = std::filesystem;

namespace {

constexpr int FileCount = 600;

class ListVolumes : public ::testing::Test {
 protected:
  // Long names make a central directory of about 100 KiB, so with 64 KiB parts it starts on an
  // earlier part than the end record's and runs onto the next ones.
  static void SetUpTestSuite() {
    set = new TTempFolder;
    const std::string src = *set / "src";
    fs::create_directories(src);
    for (int i = 0; i < FileCount; ++i)
      WriteBytes(src + "/n" + std::to_string(1000 + i) + std::string(90, 'x') + ".txt",
                 "data " + std::to_string(i * 7919) + "\n");
    const std::string command = "cd '" + set->Path() + "' && zip -q -r -s 64k set.zip src >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    // zip names the parts .z01, .z02, ... and the last .zip; number them base001.zip on.
    int part = 1;
    for (; fs::exists(Part(".z", part)); ++part) fs::rename(Part(".z", part), Base(part));
    fs::rename(*set / "set.zip", Base(part));
    parts = part;
  }
  static void TearDownTestSuite() {
    delete set;
    set = nullptr;
  }
  static std::string Part(const std::string& prefix, int n) {
    return *set / ("set" + prefix + (n < 10 ? "0" : "") + std::to_string(n));
  }
  static std::string Base(int n) {
    std::string digits = std::to_string(1000 + n).substr(1);
    return *set / ("base" + digits + ".zip");
  }

  void SetUp() override {
    if (parts < 3) GTEST_SKIP() << "zip -s did not make a set of three or more parts";
    SetBackend(&backend);
    Application.Title = "Folivo";
    zip.SetUnattended(true);
    zip.OnMessage = [this](TObject*, std::int32_t, const std::string&) {
      reports.push_back(zip.LastErrorCode());
    };
  }
  void TearDown() override { SetBackend(nullptr); }

  static TTempFolder* set;
  static int parts;
  TScriptedBackend backend;
  TZipComponent zip{nullptr};
  std::vector<std::int32_t> reports;
};

TTempFolder* ListVolumes::set = nullptr;
int ListVolumes::parts = 0;

TEST_F(ListVolumes, NumberedFilesOnAFixedDrive) {
  zip.SetZipFileName(Base(parts));
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(zip.EntryCount(), FileCount);
  EXPECT_EQ(zip.ListResults().SkippedDirCount, 1);
  EXPECT_TRUE(zip.ListResults().MultiVolume);
  EXPECT_EQ(zip.Volume().LastVolume(), parts - 1);
  EXPECT_EQ(zip.Volume().CurrentVolume(), parts - 1);
  EXPECT_LT(zip.ListResults().DirEntries.front()->DiskNumberStart,
            zip.ListResults().DirEntries.back()->DiskNumberStart);
  EXPECT_FALSE(zip.ListResults().StructureWarning);
  EXPECT_EQ(zip.Volume().VolumeHandle(), NoFileHandle);
}

TEST_F(ListVolumes, OtherPartsOfTheSet) {
  zip.SetZipFileName(Base(1));
  zip.SetZipFileName(Base(2));
  EXPECT_EQ(reports, (std::vector<std::int32_t>{MessageId::FirstFileOfSet, MessageId::NotAValidArchive}));
}

TEST_F(ListVolumes, MissingMiddlePart) {
  TTempFolder copy;
  for (int n = 1; n <= parts; ++n)
    if (n != parts - 1) fs::copy_file(Base(n), copy / fs::path(Base(n)).filename().string());
  zip.SetZipFileName(copy / fs::path(Base(parts)).filename().string());
  EXPECT_EQ(reports, std::vector<std::int32_t>{MessageId::InputFileMissing});
  EXPECT_EQ(zip.EntryCount(), 0);
}

class ListDisks : public ListVolumes {
 protected:
  void SetUp() override {
    ListVolumes::SetUp();
    if (IsSkipped()) return;
    root = drives.Stage(disk / "a", "");
  }
  void Insert(int n) {
    drives.InsertDisk(root, "PKBACK# " + std::to_string(1000 + n).substr(1),
                      std::vector<std::pair<std::string, std::string>>{{Base(n), "set.zip"}});
  }
  TTempFolder disk;
  TStagedDriveTable drives;
  TDriveTableScope scope{drives};
  std::string root;
};

TEST_F(ListDisks, FollowsTheDirectoryAcrossDisks) {
  zip.SetUnattended(false);
  Insert(parts);
  std::vector<std::string> prompts;
  backend.onMessageBox = [&] {
    prompts.push_back(backend.shown.back().text);
    Insert(zip.Volume().CurrentVolume() + 1);
  };
  zip.SetZipFileName(root + "set.zip");
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(zip.EntryCount(), FileCount);
  ASSERT_FALSE(prompts.empty());
  EXPECT_EQ(prompts[0], "Please insert disk volume " +
                            std::to_string(zip.ListResults().DirEntries.front()->DiskNumberStart + 2) +
                            " of " + std::to_string(parts) + "\nin drive: " + root);
  EXPECT_EQ(backend.shown[0].caption, "Folivo");
}

TEST_F(ListDisks, WrongDiskOfALabelledSet) {
  Insert(1);
  zip.SetZipFileName(root + "set.zip");
  Insert(parts - 1);
  zip.SetZipFileName(root + "set.zip");
  EXPECT_EQ(reports, (std::vector<std::int32_t>{MessageId::FirstDiskOfSet, MessageId::NotLastDiskOfSet}));
  EXPECT_EQ(zip.LastMessage(), "This is the " + std::to_string(parts - 1) +
                                   "th disk in a backup set,\nplease insert the last disk of this set");
}

TEST_F(ListDisks, UnattendedOrCancelledPromptEndsTheList) {
  Insert(parts);
  zip.SetZipFileName(root + "set.zip");
  EXPECT_EQ(reports, std::vector<std::int32_t>{MessageId::NoUnattendedSpanning});
  EXPECT_EQ(zip.ZipFileName(), "");

  zip.SetUnattended(false);
  backend.messageBoxAnswers = {IDCANCEL};
  zip.SetZipFileName(root + "set.zip");
  EXPECT_EQ(reports.back(), MessageId::UserCanceled);
  EXPECT_EQ(backend.shown.size(), 1u);  // the prompt only; a cancel is not shown
  EXPECT_EQ(zip.EntryCount(), 0);
}

}  // namespace
