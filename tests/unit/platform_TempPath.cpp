// The private temporary folder: never a shared, guessable or planted folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Folders.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

class TempPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base = temp.Path();
    SaveEnv("XDG_RUNTIME_DIR", savedRuntime, hadRuntime);
    SaveEnv("TMPDIR", savedTmp, hadTmp);
    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", base.c_str(), 1);
    expected = base.string() + "/folivo-" + std::to_string(geteuid());
  }
  void TearDown() override {
    RestoreEnv("XDG_RUNTIME_DIR", savedRuntime, hadRuntime);
    RestoreEnv("TMPDIR", savedTmp, hadTmp);
  }
  static void SaveEnv(const char* name, std::string& value, bool& had) {
    const char* v = std::getenv(name);
    had = v != nullptr;
    value = had ? v : "";
  }
  static void RestoreEnv(const char* name, const std::string& value, bool had) {
    if (had)
      setenv(name, value.c_str(), 1);
    else
      unsetenv(name);
  }
  static std::string TempPath() {
    char buffer[512] = {};
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    return n == 0 ? std::string() : std::string(buffer, n);
  }
  static unsigned Mode(const std::string& path) {
    struct stat st = {};
    lstat(path.c_str(), &st);
    return st.st_mode & 07777;
  }

  TTempFolder temp;
  fs::path base;
  std::string expected, savedRuntime, savedTmp;
  bool hadRuntime = false, hadTmp = false;
};

TEST_F(TempPathTest, CreatesPrivateFolderWithTrailingDelimiter) {
  EXPECT_EQ(TempPath(), expected + "/");
  EXPECT_EQ(Mode(expected), 0700u);
}

TEST_F(TempPathTest, SmallBufferGetsNeededSizeAndIsLeftAlone) {
  const std::string path = TempPath();
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetTempPathA(sizeof small, small), path.size() + 1);
  EXPECT_EQ(std::string(small, 4), "xxxx");
  std::string exact(path.size() + 1, 'x');
  EXPECT_EQ(GetTempPathA(static_cast<DWORD>(exact.size()), exact.data()), path.size());
  EXPECT_EQ(exact.c_str(), path);
}

TEST_F(TempPathTest, OwnFolderWithOpenModeIsTightened) {
  fs::create_directory(expected);
  chmod(expected.c_str(), 0755);
  EXPECT_EQ(TempPath(), expected + "/");
  EXPECT_EQ(Mode(expected), 0700u);
}

TEST_F(TempPathTest, OwnFolderOthersCouldWriteIntoIsRefused) {
  fs::create_directory(expected);
  for (const unsigned mode : {0777u, 0730u, 01777u}) {
    chmod(expected.c_str(), mode);
    EXPECT_EQ(TempPath(), "") << std::oct << mode;
    EXPECT_EQ(Mode(expected), mode);
  }
}

TEST_F(TempPathTest, FolderOfAnotherUserIsRefused) {
  fs::create_directory(expected);
  chmod(expected.c_str(), 0700);
  if (chown(expected.c_str(), geteuid() + 1, static_cast<gid_t>(-1)) != 0) GTEST_SKIP() << "cannot chown";
  EXPECT_EQ(TempPath(), "");
}

TEST_F(TempPathTest, PlantedLinkIsRefused) {
  const fs::path target = base / "planted";
  fs::create_directory(target);
  chmod(target.c_str(), 0700);
  fs::create_directory_symlink(target, expected);
  EXPECT_EQ(TempPath(), "");
  EXPECT_TRUE(fs::is_symlink(expected));
}

TEST_F(TempPathTest, RuntimeDirUsedOnlyWhenPrivate) {
  const fs::path runtime = base / "runtime";
  fs::create_directory(runtime);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  chmod(runtime.c_str(), 0700);
  EXPECT_EQ(TempPath(), runtime.string() + "/");
  chmod(runtime.c_str(), 0750);
  EXPECT_EQ(TempPath(), expected + "/");
  setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
  EXPECT_EQ(TempPath(), expected + "/");
}

}  // namespace
