// The span table's pairing of local headers with central entries, and the output's file names.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Folders.h"
#include "tests/support/ZipComponentTestPeer.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"

namespace {

class SpanTableTest : public ::testing::Test {
 protected:
  void Fill(const std::vector<std::string>& names) {
    TZipComponentTestPeer::JoinedArchive(zip).BuildSpanTable();
    for (const std::string& name : names) TZipComponentTestPeer::JoinedArchive(zip).AddSpanEntry(name, 0);
  }
  // What the local pass does with one local header's name.
  std::int32_t Pair(const std::string& name) {
    return static_cast<std::int32_t>(TZipComponentTestPeer::JoinedArchive(zip).FindSpanEntry(name));
  }
  std::int32_t FailureId(const std::string& name) {
    try {
      Pair(name);
    } catch (const EZipComponent& e) {
      return e.MessageId();
    }
    return 0;
  }
  TZipComponent zip{nullptr};
};

TEST_F(SpanTableTest, EachLocalHeaderTakesItsOwnRecord) {
  Fill({"Read.me", "read.ME", "other", "READ.ME"});
  EXPECT_EQ(Pair("READ.ME"), 3);  // an exact name wins over an earlier one differing in case
  EXPECT_EQ(Pair("read.me"), 0);  // then the first one not yet paired
  EXPECT_EQ(Pair("read.me"), 1);
  EXPECT_EQ(FailureId("read.me"), 11026);  // none left: never two headers on one record
  EXPECT_EQ(Pair("other"), 2);
}

TEST_F(SpanTableTest, NamesAreComparedWholeAndByteForByte) {
  const std::string stem(300, 'x');
  Fill({stem + "a", stem + "b", "\xC3\x84.txt", "a"});
  EXPECT_EQ(Pair(stem + "b"), 1);
  EXPECT_EQ(Pair(stem + "A"), 0);
  EXPECT_EQ(FailureId("\xC3\xA4.txt"), 11026);  // only ASCII letters ignore case
  EXPECT_EQ(FailureId(std::string("a\0", 2)), 11026);
  EXPECT_EQ(TZipComponentTestPeer::NameFromBuffer("a\0b", 3), std::string("a\0b", 3));
  EXPECT_EQ(TZipComponentTestPeer::NameFromBuffer("abc", 0), "");
}

// Every spelling in case of one name, paired from the last: each finds its own record at once.
TEST_F(SpanTableTest, ManyNamesDifferingInCasePairExactly) {
  std::vector<std::string> names;
  for (unsigned bits = 0; bits < (1u << 15); ++bits) {
    std::string name = "abcdefghijklmno";
    for (unsigned i = 0; i < name.size(); ++i)
      if (bits & (1u << i)) name[i] = static_cast<char>(name[i] - 'a' + 'A');
    names.push_back(name);
  }
  Fill(names);
  for (std::size_t i = names.size(); i-- > 0;) ASSERT_EQ(Pair(names[i]), static_cast<std::int32_t>(i));
}

TEST(SpanNames, TemporaryNamesAreFreshAndInTempDir) {
  TTempFolder dir;
  TZipComponent zip(nullptr);
  zip.SetTempDir(dir.Path());
  const std::string first = TZipComponentTestPeer::NewTempArchiveName(zip, "", "");
  const std::string second = TZipComponentTestPeer::NewTempArchiveName(zip, "abc", ".kvx");
  EXPECT_EQ(zip.TempDir(), dir.Path() + "/");
  EXPECT_EQ(ExtractFileDir(first), dir.Path());
  EXPECT_EQ(ExtractFileName(first).substr(0, 3), "zip");
  EXPECT_EQ(ExtractFileExt(first), ".zip");
  EXPECT_EQ(ExtractFileName(second).substr(0, 3), "abc");
  EXPECT_EQ(ExtractFileExt(second), ".kvx");
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "no file is left behind";

  zip.SetTempDir(dir / "missing");
  EXPECT_EQ(TZipComponentTestPeer::NewTempArchiveName(zip, "", ""), "");
}

TEST(SpanNames, RemovingAMissingFileDoesNothing) {
  TTempFolder dir;
  TZipComponent zip(nullptr);
  const std::string saved = GetCurrentDir();
  SetCurrentDirectoryA(dir.Path().c_str());
  WriteBytes(dir / "here.zip", "x");
  EXPECT_EQ(TZipComponentTestPeer::RemoveExistingFile(zip, "absent.zip", htdFinal), -1);
  EXPECT_EQ(TZipComponentTestPeer::RemoveExistingFile(zip, "here.zip", htdFinal),
            0);  // relative to the current folder
  EXPECT_FALSE(FileExists(dir / "here.zip"));
  CreateDirectoryA((dir / "folder").c_str(), nullptr);
  EXPECT_EQ(TZipComponentTestPeer::RemoveExistingFile(zip, dir / "folder", htdFinal), -1);
  EXPECT_TRUE(DirectoryExists(dir / "folder"));
  SetCurrentDirectoryA(saved.c_str());
}

}  // namespace
