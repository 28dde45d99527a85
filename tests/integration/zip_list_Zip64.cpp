// Archives whose records defer to zip64 fields, and names from the hosts of the OEM code page: what
// List shows must be what the unzip library writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "classlib/ScriptedBackend.h"
#include "platform/Folders.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"

namespace fs = std::filesystem;

namespace {

class ListedAndExtracted : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    savedDir = GetCurrentDir();
    zip.SetUnattended(true);
    zip.SetDLLDirectory(FOLIVO_BIN_DIR);
    zip.SetExtrBaseDir(dir / "out");
    zip.SetExtrOptions({ExtrDirNames, ExtrOverWrite});
    zip.OnMessage = [this](TObject*, std::int32_t code, const std::string& text) {
      messages.push_back(std::to_string(code ? code : zip.LastErrorCode()) + " " + text);
    };
    fs::create_directories(dir / "out");
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedDir.c_str());
    SetBackend(nullptr);
  }
  void List(const TestZip& archive) {
    WriteBytes(dir / "a.zip", BuildTestZip(archive));
    zip.SetZipFileName(dir / "a.zip");
    ASSERT_EQ(zip.ZipFileName(), dir / "a.zip") << (messages.empty() ? "" : messages.back());
  }
  // The names the component listed, "\" made "/", and the files the library wrote.
  std::set<std::string> ListedNames() const {
    std::set<std::string> names;
    for (const auto& e : zip.ListResults().DirEntries) {
      std::string name = e->FileName;
      for (char& c : name)
        if (c == '\\') c = '/';
      names.insert(name);
    }
    return names;
  }
  std::set<std::string> WrittenNames() const {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir / "out"))
      if (e.is_regular_file()) names.insert(fs::relative(e.path(), dir / "out").string());
    return names;
  }

  TTempFolder dir;
  TScriptedBackend backend;
  TZipComponent zip{nullptr};
  std::string savedDir;
  std::vector<std::string> messages;
};

}  // namespace

TEST_F(ListedAndExtracted, EndRecordDeferringToZip64IsOneVolume) {
  TestZip archive;
  archive.zip64 = true;
  archive.entries = {TestEntry("index.htm", "<html>index</html>"), TestEntry("pages/one.htm", "one")};
  for (const std::string& stub : {std::string(), std::string(100, 's')}) {
    SCOPED_TRACE(stub.size());
    archive.prefix = stub;
    List(archive);
    const TListResults& list = zip.ListResults();
    EXPECT_FALSE(list.MultiVolume);
    EXPECT_EQ(zip.Volume().LastVolume(), 0);
    EXPECT_EQ(list.FirstEntryOffset, static_cast<std::int32_t>(stub.size()));
    EXPECT_EQ(list.StructureWarning, !stub.empty());
    ASSERT_EQ(list.DirEntries.size(), 2u);
    // The header's 32-bit fields stay as they are; the zip64 values stand beside them.
    EXPECT_EQ(list.DirEntries[0]->UncompressedSize, 0xFFFFFFFFu);
    EXPECT_EQ(list.DirEntries[0]->UncompressedSize64, 18u);
    EXPECT_EQ(list.DirEntries[1]->CompressedSize64, 3u);
    EXPECT_EQ(list.DirEntries[1]->LocalHeaderOffset64, 30u + 9 + 18);

    messages.clear();
    zip.Extract();
    EXPECT_EQ(zip.ExtractedCount(), 2);
    EXPECT_EQ(ReadBytes(dir / "out/pages/one.htm"), "one");
    // Only warnings: the stub, and an unattended run without a password.
    for (const std::string& m : messages)
      EXPECT_TRUE(m.rfind("10203 ", 0) == 0 || m.rfind("10502 ", 0) == 0) << m;
  }
}

TEST_F(ListedAndExtracted, NamesFromEveryHostAreListedAsWritten) {
  TestZip archive;
  // "\x82" is e-acute in the OEM code page; an NTFS host writes it only as version 5.0, and other
  // hosts' names keep their bytes, UTF-8 or not.
  auto entry = [](const std::string& name, std::uint8_t host, std::uint8_t version) {
    TestZipEntry e = TestEntry(name, name);
    e.hostSystem = host;
    e.madeByVersion = version;
    return e;
  };
  archive.entries = {entry("fat\x82.txt", 0, 20),        entry("hpfs\x82.txt", 6, 20),
                     entry("ntfs\x82.txt", 11, 50),      entry("ntfs-utf8-\xC3\xA9.txt", 11, 63),
                     entry("unix-latin\xE9.txt", 3, 30), entry("unix-utf8-\xC3\xA9.txt", 3, 30)};
  List(archive);
  zip.Extract();
  EXPECT_EQ(zip.ExtractedCount(), 6) << (messages.empty() ? "" : messages.back());
  EXPECT_EQ(ListedNames(), WrittenNames());
  EXPECT_EQ(ListedNames().count("fat\xC3\xA9.txt"), 1u);
  EXPECT_EQ(ListedNames().count("ntfs-utf8-\xC3\xA9.txt"), 1u);
}
