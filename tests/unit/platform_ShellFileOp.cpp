// Recursive deletion: contents go, links go without their targets, failures don't stop the rest.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ShellFileOp.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path) {
  std::ofstream(path) << "x";
}

class ShellFileOpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base = temp.Path();
    work = base / "KORVEX";
    outside = base / "outside";
    fs::create_directories(work);
    fs::create_directories(outside);
  }
  void TearDown() override {
    fs::permissions(base, fs::perms::owner_all, fs::perm_options::add);
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(base, ec))
      if (e.is_directory() && !e.is_symlink())
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(base);
  }
  int Delete(const std::string& names, WORD flags = FOF_NOCONFIRMATION) {
    const std::string list = names + std::string(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = flags;
    return SHFileOperationA(&op);
  }
  TTempFolder temp;
  fs::path base, work, outside;
};

TEST_F(ShellFileOpTest, StarDotStarTakesEverythingButLinkTargets) {
  fs::create_directories(work / "a" / "b" / "c");
  Touch(work / "a" / "b" / "c" / "deep.htm");
  Touch(work / ".hidden");
  Touch(work / "noext");
  Touch(work / "index.htm");
  fs::create_directories(work / ".dotdir");
  Touch(work / ".dotdir" / "x");
  Touch(outside / "keep.txt");
  fs::create_directory_symlink(outside, work / "linkdir");
  fs::create_symlink(outside / "keep.txt", work / "a" / "linkfile");
  fs::create_symlink(base / "missing", work / "dangling");

  EXPECT_EQ(Delete((work / "*.*").string()), 0);
  EXPECT_TRUE(fs::is_empty(work));
  EXPECT_TRUE(fs::exists(outside / "keep.txt"));
}

TEST_F(ShellFileOpTest, PatternInAFolderThatIsALinkDeletesNothing) {
  Touch(outside / "keep.txt");
  fs::create_directories(outside / "sub");
  Touch(outside / "sub" / "f");
  fs::remove(work);
  fs::create_directory_symlink(outside, work);
  EXPECT_NE(Delete((work / "*.*").string()), 0);
  EXPECT_NE(Delete((work / "*.*").string(), FOF_ALLOWUNDO | FOF_NOCONFIRMATION), 0);
  EXPECT_TRUE(fs::exists(outside / "keep.txt"));
  EXPECT_TRUE(fs::exists(outside / "sub" / "f"));
  EXPECT_TRUE(fs::is_symlink(work));
}

TEST_F(ShellFileOpTest, NamedFolderAndFileGoWholly) {
  fs::create_directories(work / "sub" / "inner");
  Touch(work / "sub" / "inner" / "f");
  Touch(work / "single.txt");
  const std::string list = (work / "sub").string() + '\0' + (work / "single.txt").string();
  EXPECT_EQ(Delete(list), 0);
  EXPECT_FALSE(fs::exists(work / "sub"));
  EXPECT_FALSE(fs::exists(work / "single.txt"));
}

TEST_F(ShellFileOpTest, MissingNamesAreReportedAndEmptyFolderIsFine) {
  EXPECT_EQ(Delete((work / "*.*").string()), 0);
  EXPECT_NE(Delete((work / "nothing-here").string()), 0);
  EXPECT_NE(Delete((base / "no-folder" / "*.*").string()), 0);
}

TEST_F(ShellFileOpTest, UndeletableEntryKeepsItsFolderAndOthersStillGo) {
  fs::create_directories(work / "stuck" / "held");
  Touch(work / "stuck" / "held" / "f");
  Touch(work / "stuck" / "sibling");
  Touch(work / "later.txt");
  bool mounted = false;
  if (geteuid() == 0) {
    // Root may delete anything: a file system mounted inside the tree is never entered.
    if (mount("tmpfs", (work / "stuck" / "held").c_str(), "tmpfs", 0, nullptr) != 0)
      GTEST_SKIP() << "running as root without a way to make an entry undeletable";
    mounted = true;
    Touch(work / "stuck" / "held" / "inside");
  } else {
    fs::permissions(work / "stuck" / "held", fs::perms::owner_read | fs::perms::owner_exec);
  }
  EXPECT_NE(Delete((work / "*.*").string()), 0);
  EXPECT_TRUE(fs::exists(work / "stuck" / "held"));
  EXPECT_FALSE(fs::exists(work / "stuck" / "sibling"));
  EXPECT_FALSE(fs::exists(work / "later.txt"));
  if (mounted) {
    EXPECT_TRUE(fs::exists(work / "stuck" / "held" / "inside"));
    umount((work / "stuck" / "held").c_str());
  }
}

TEST_F(ShellFileOpTest, AllowUndoSendsEachNameToTheTrash) {
  // The trash lives under the user's data folder, for files on the home's file system (a /tmp of its
  // own has no trash); keep both inside the test's own folder.
  setenv("HOME", base.c_str(), 1);
  setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
  fs::create_directories(base / "data");
  Touch(work / "page.htm");
  fs::create_directories(work / "pics");
  Touch(work / "pics" / "a.jpg");
  EXPECT_EQ(Delete((work / "*.*").string(), FOF_ALLOWUNDO | FOF_NOCONFIRMATION), 0);
  EXPECT_TRUE(fs::is_empty(work));
  EXPECT_TRUE(fs::exists(base / "data" / "Trash" / "files" / "page.htm"));
  EXPECT_TRUE(fs::exists(base / "data" / "Trash" / "files" / "pics" / "a.jpg"));
}

// A tree deeper than the open-file limit allows handles, as one long entry name makes: emptying
// the folder takes all of it.
TEST_F(ShellFileOpTest, ContentsGoHoweverDeepUnderTheOpenFileLimit) {
  int fd = open(work.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 3000 && fd >= 0; ++level) {
    mkdirat(fd, "d", 0700);
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  close(openat(fd, "deep.htm", O_WRONLY | O_CREAT, 0600));
  close(fd);
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit bounded = saved;
  bounded.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 1024);
  setrlimit(RLIMIT_NOFILE, &bounded);
  const int result = DeleteFolderContents(work.string());
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(work / "d"));
  EXPECT_TRUE(fs::is_directory(work));
}

TEST_F(ShellFileOpTest, OnlyDeleteIsDone) {
  Touch(work / "f");
  const std::string list = (work / "f").string() + std::string(2, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = 2;
  op.pFrom = list.c_str();
  EXPECT_NE(SHFileOperationA(&op), 0);
  EXPECT_TRUE(fs::exists(work / "f"));
}

}  // namespace
