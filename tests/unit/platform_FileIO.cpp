// Temporary file names, DOS dates and file-name helpers.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <set>
#include <string>

#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

TEST(TempFileName, EachCallCreatesANewPrivateFile) {
  const TTempFolder temp;
  const fs::path dir = temp.Path();
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    std::string name;
    ASSERT_NE(GetTempFileNameA(dir.c_str(), "zipper", 0, name), 0u);
    EXPECT_EQ(name.rfind(dir.string() + "/zip", 0), 0u) << name;
    EXPECT_EQ(ExtractFileExt(name), ".tmp");
    struct stat st = {};
    ASSERT_EQ(lstat(name.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);
  std::string name;
  EXPECT_EQ(GetTempFileNameA((dir / "missing").c_str(), "zip", 0, name), 0u);
}

TEST(TempFileName, ExclusiveCreateRefusesExistingNamesAndLinks) {
  const TTempFolder temp;
  const fs::path dir = temp.Path();
  const std::string file = (dir / "a.tmp").string();
  const FileHandle h = FileCreateExclusive(file);
  ASSERT_NE(h, NoFileHandle);
  FileClose(h);
  EXPECT_EQ(FileCreateExclusive(file), NoFileHandle);
  fs::create_symlink(dir / "target", dir / "link.tmp");
  EXPECT_EQ(FileCreateExclusive((dir / "link.tmp").string()), NoFileHandle);
  EXPECT_FALSE(fs::exists(dir / "target"));
  EXPECT_EQ(FileOpenRead(dir.string()), NoFileHandle);
}

TEST(DosDate, RoundTripsInLocalTime) {
  tm local{};
  local.tm_year = 2021 - 1900;
  local.tm_mon = 5;
  local.tm_mday = 15;
  local.tm_hour = 13;
  local.tm_min = 45;
  local.tm_sec = 31;
  local.tm_isdst = -1;
  const std::int64_t when = mktime(&local);
  const std::uint32_t dos = UnixTimeToDos(when);
  EXPECT_EQ(dos >> 16, ((2021u - 1980u) << 9) | (6u << 5) | 15u);
  EXPECT_EQ(dos & 0xFFFF, (13u << 11) | (45u << 5) | 15u);
  EXPECT_EQ(DosToUnixTime(dos), when - 1);            // two-second steps
  EXPECT_EQ(UnixTimeToDos(0) >> 16, (1u << 5) | 1u);  // before 1980: 1980-01-01
  EXPECT_EQ(DosToUnixTime(0), -1);                    // month 0 is no date
}

TEST(DosDate, FileDateIsSetAndReadBack) {
  const TTempFolder temp;
  const std::string file = temp / "date";
  const FileHandle h = FileCreate(file);
  ASSERT_NE(h, NoFileHandle);
  const std::uint32_t dos =
      ((2003u - 1980u) << 25) | (2u << 21) | (28u << 16) | (23u << 11) | (59u << 5) | 29u;
  EXPECT_TRUE(FileSetDate(h, static_cast<std::int32_t>(dos)));
  EXPECT_EQ(static_cast<std::uint32_t>(FileGetDate(h)), dos);
  FileClose(h);
}

TEST(FileNames, PartsAndExpansion) {
  EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
  EXPECT_EQ(ExtractFileExt("/a/set.part001.zip"), ".zip");
  EXPECT_EQ(ChangeFileExt("/a/b.kvx", ".htm"), "/a/b.htm");
  EXPECT_EQ(ChangeFileExt("/a.d/b", ".htm"), "/a.d/b.htm");
  EXPECT_EQ(ExtractFileDir("/a/b/c.zip"), "/a/b");
  EXPECT_EQ(ExtractFileDir("/c.zip"), "/");
  EXPECT_EQ(ExtractFileName("/a/b/c.zip"), "c.zip");
  EXPECT_EQ(ExpandFileName("/a/./b/../c//d"), "/a/c/d");
  EXPECT_EQ(ExpandFileName("/../x"), "/x");
  EXPECT_TRUE(EndsInDelimiter("C:\\"));
  EXPECT_TRUE(EndsInDelimiter("/tmp/"));
  EXPECT_FALSE(EndsInDelimiter(""));
}
