// Truncated and bit-flipped archives: List always ends in a listing or a report, closes the
// file, and the component lists a sound archive afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "classlib/ScriptedBackend.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"

namespace {

class ListMutations : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    zip.SetUnattended(true);
    TestZip archive;
    archive.entries.push_back(TestEntry("index.htm", "<html></html>"));
    archive.entries.push_back(TestEntry("pics/", ""));
    archive.entries.back().comment = "folder";
    archive.entries.push_back(TestEntry("pics/a.gif", "GIF89a"));
    archive.entries.back().extra = std::string("\x55\x54\x05\x00\x01\x02\x03\x04\x05", 9);
    archive.comment = "Issue 7";
    sound = BuildTestZip(archive);
  }
  void TearDown() override { SetBackend(nullptr); }

  // Lists the bytes; false when the component was left inconsistent.
  bool ListSurvives(const std::string& bytes, std::int32_t maxEntries = 3) {
    WriteBytes(path, bytes);
    zip.SetZipFileName(path);
    if (zip.Volume().VolumeHandle() != NoFileHandle) return false;
    if (zip.ZipFileName().empty()) return zip.EntryCount() == 0 && zip.LastErrorCode() != 0;
    return zip.EntryCount() <= maxEntries;
  }

  TScriptedBackend backend;
  TTempFolder folder;
  std::string path = folder / "m.zip";
  TZipComponent zip{nullptr};
  std::string sound;
};

TEST_F(ListMutations, EveryTruncation) {
  for (std::size_t length = 0; length < sound.size(); ++length)
    ASSERT_TRUE(ListSurvives(sound.substr(0, length))) << length;
  ASSERT_TRUE(ListSurvives(sound));
  EXPECT_EQ(zip.EntryCount(), 2);
}

TEST_F(ListMutations, EveryByteFlipped) {
  for (std::size_t at = 0; at < sound.size(); ++at) {
    for (unsigned char mask : {0x01, 0x80, 0xFF}) {
      std::string bytes = sound;
      bytes[at] = static_cast<char>(bytes[at] ^ mask);
      ASSERT_TRUE(ListSurvives(bytes)) << at << " " << int(mask);
    }
  }
  ASSERT_TRUE(ListSurvives(sound));
  EXPECT_EQ(zip.EntryCount(), 2);
  EXPECT_EQ(zip.ListResults().ArchiveComment, "Issue 7");
}

TEST_F(ListMutations, CorpusTailsCutAndFlipped) {
  const std::string corpus = std::string(FOLIVO_CORPUS_DIR) + "/libarchive";
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus";
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string bytes = ReadBytes(entry.path().string());
    if (bytes.size() > 200000) continue;
    const std::size_t tail = std::min<std::size_t>(bytes.size(), 160);
    for (std::size_t back = 1; back <= tail; back += 3) {
      ASSERT_TRUE(ListSurvives(bytes.substr(0, bytes.size() - back), 65535)) << entry.path();
      std::string flipped = bytes;
      flipped[bytes.size() - back] = static_cast<char>(flipped[bytes.size() - back] ^ 0x5A);
      ASSERT_TRUE(ListSurvives(flipped, 65535)) << entry.path();
    }
  }
}

}  // namespace
