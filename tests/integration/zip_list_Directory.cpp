// List on archives built in the test: where the parts lie, comments, padding, entries, names.
#include <gtest/gtest.h>

#include "classlib/ScriptedBackend.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

class ListDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    zip.SetUnattended(true);
    zip.OnMessage = [this](TObject*, std::int32_t, const std::string&) {
      ids.push_back(zip.LastErrorCode());
    };
    zip.OnDirUpdate = [this](TObject*) { ++updates; };
  }
  void TearDown() override { SetBackend(nullptr); }

  void List(const std::string& bytes) {
    WriteBytes(path, bytes);
    zip.SetZipFileName(path);
  }

  static TestZip TwoFiles() {
    TestZip archive;
    archive.entries.push_back(TestEntry("index.htm", "<html></html>"));
    archive.entries.push_back(TestEntry("pics/a.gif", "GIF89a"));
    return archive;
  }

  TScriptedBackend backend;
  TTempFolder folder;
  std::string path = folder / "issue.kvx";
  TZipComponent zip{nullptr};
  std::vector<std::int32_t> ids;
  int updates = 0;
};

TEST_F(ListDirectory, PlainArchiveWithoutComment) {
  const std::string bytes = BuildTestZip(TwoFiles());
  List(bytes);
  ASSERT_EQ(zip.EntryCount(), 2);
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(zip.ListResults().EndRecordPos, static_cast<std::int32_t>(bytes.size() - 22));
  EXPECT_EQ(zip.ListResults().ArchiveFileSize, static_cast<std::int32_t>(bytes.size()));
  EXPECT_EQ(zip.ListResults().DataEndPos, zip.ListResults().ArchiveFileSize);
  EXPECT_EQ(zip.ListResults().FirstEntryOffset, 0);
  EXPECT_EQ(zip.ListResults().CentralDirOffset, 30 + 9 + 13 + 30 + 10 + 6);
  EXPECT_FALSE(zip.ListResults().StructureWarning);
  EXPECT_FALSE(zip.ListResults().MultiVolume);
  EXPECT_EQ(zip.ListResults().ArchiveComment, "");
  const ZipDirEntry& e = *zip.ListResults().DirEntries[1];
  EXPECT_EQ(e.FileName, "pics\\a.gif");
  EXPECT_EQ(e.FileNameLength, 10);
  EXPECT_EQ(e.UncompressedSize, 6u);
  EXPECT_EQ(e.Crc32, TestCrc32("GIF89a"));
  EXPECT_EQ(e.FileDateTime, 0x5A8C6000u);
  EXPECT_EQ(e.LocalHeaderOffset, 52u);
  EXPECT_EQ(e.ExtraData, nullptr);
  EXPECT_EQ(zip.Volume().VolumeHandle(), NoFileHandle);
  EXPECT_EQ(updates, 1);
}

TEST_F(ListDirectory, CommentIsReadUpToItsFirstNul) {
  TestZip archive = TwoFiles();
  archive.comment = std::string("Issue 12\0tail", 13);
  archive.entries[0].comment = "start page";
  archive.entries[0].extra = std::string("\x55\x54\x01\x00\x07", 5);
  List(BuildTestZip(archive));
  ASSERT_EQ(zip.EntryCount(), 2);
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(zip.ListResults().ArchiveComment, "Issue 12");
  EXPECT_EQ(zip.ListResults().DataEndPos, zip.ListResults().ArchiveFileSize);
  EXPECT_EQ(zip.ListResults().DirEntries[0]->FileComment, "start page");
  ASSERT_NE(zip.ListResults().DirEntries[0]->ExtraData, nullptr);
  EXPECT_EQ(zip.ListResults().DirEntries[0]->ExtraData[4], 7);
}

TEST_F(ListDirectory, ZeroPaddingToA512MultiplePassesGarbageDoesNot) {
  std::string bytes = BuildTestZip(TwoFiles());
  const std::size_t end = bytes.size();
  bytes.resize((end / 512 + 1) * 512, '\0');
  List(bytes);
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(zip.ListResults().DataEndPos, static_cast<std::int32_t>(end));
  EXPECT_EQ(zip.ListResults().ArchiveFileSize, static_cast<std::int32_t>(bytes.size()));
  EXPECT_EQ(zip.EntryCount(), 2);

  bytes[bytes.size() - 3] = 1;
  List(bytes);
  EXPECT_EQ(ids, std::vector<std::int32_t>{MessageId::GarbageAtEnd});
  EXPECT_EQ(zip.EntryCount(), 2);

  ids.clear();
  List(BuildTestZip(TwoFiles()) + std::string(5, '\0'));
  EXPECT_EQ(ids, std::vector<std::int32_t>{MessageId::GarbageAtEnd});

  // A comment that runs past the end of the file.
  ids.clear();
  std::string cut = BuildTestZip([] {
    TestZip a = TwoFiles();
    a.comment = "a long comment";
    return a;
  }());
  cut.resize(cut.size() - 4);
  List(cut);
  EXPECT_EQ(ids, std::vector<std::int32_t>{MessageId::GarbageAtEnd});
  EXPECT_EQ(zip.ListResults().ArchiveComment, "a long com");
  EXPECT_EQ(zip.EntryCount(), 2);
}

TEST_F(ListDirectory, StubInFrontWithUnadjustedOffsets) {
  TestZip archive = TwoFiles();
  archive.prefix = std::string(1000, 'M');
  List(BuildTestZip(archive));
  EXPECT_EQ(ids, std::vector<std::int32_t>{MessageId::StructureWarning});
  EXPECT_TRUE(zip.ListResults().StructureWarning);
  EXPECT_EQ(zip.EntryCount(), 2);
  EXPECT_EQ(zip.ListResults().FirstEntryOffset, 1000);
  EXPECT_EQ(zip.ListResults().CentralDirOffset, 1000 + 30 + 9 + 13 + 30 + 10 + 6);
}

TEST_F(ListDirectory, EmptyArchive) {
  List(BuildTestZip(TestZip{}));
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(zip.ListResults().FirstEntryOffset, 0);
  EXPECT_EQ(zip.ZipFileName(), path);
  EXPECT_EQ(updates, 1);
}

TEST_F(ListDirectory, MissingFileIsNoError) {
  zip.SetZipFileName(folder / "none.kvx");
  zip.SetZipFileName("");
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(updates, 2);
}

TEST_F(ListDirectory, DirectoryOnlyEntriesAndSeqNo) {
  TestZip archive;
  for (const char* name : {"pics/", "pics/a.gif", "c:", "b.htm", "sub\\"})
    archive.entries.push_back(TestEntry(name));
  std::vector<std::int32_t> seqs;
  zip.OnNewName = [&](TObject*, std::int32_t seq, const ZipDirEntry&) { seqs.push_back(seq); };
  List(BuildTestZip(archive));
  EXPECT_EQ(seqs, (std::vector<std::int32_t>{2, 4}));
  EXPECT_EQ(zip.ListResults().SkippedDirCount, 3);
  EXPECT_EQ(zip.EntryCount(), 2);

  seqs.clear();
  zip.SetUseDirOnlyEntries(true);
  zip.List();
  EXPECT_EQ(seqs.size(), 5u);
  EXPECT_EQ(zip.ListResults().SkippedDirCount, 0);
  EXPECT_EQ(zip.ListResults().DirEntries[0]->FileName, "pics\\");
}

TEST_F(ListDirectory, OemNamesByHostAndCodePage) {
  const std::string oem = "f\x81r.htm";  // u-umlaut in code page 437
  const std::string ansi = "f\xC3\xBCr.htm";
  TestZip archive;
  auto made = [&](std::uint8_t host, std::uint8_t version = 30, std::uint16_t flags = 0) {
    TestZipEntry e = TestEntry(oem);
    e.hostSystem = host;
    e.madeByVersion = version;
    e.flags = flags;
    archive.entries.push_back(e);
  };
  made(0);
  archive.entries[0].comment = "\x81";
  made(3);
  made(6);
  made(11, 50);
  made(0, 30, 0x0800);
  List(BuildTestZip(archive));
  ASSERT_EQ(zip.EntryCount(), 5);
  EXPECT_EQ(zip.ListResults().DirEntries[0]->FileName, ansi);
  EXPECT_EQ(zip.ListResults().DirEntries[0]->FileNameLength, oem.size());
  EXPECT_EQ(zip.ListResults().DirEntries[0]->FileComment, "\xC3\xBC");
  EXPECT_EQ(zip.ListResults().DirEntries[1]->FileName, oem);
  EXPECT_EQ(zip.ListResults().DirEntries[2]->FileName, ansi);
  EXPECT_EQ(zip.ListResults().DirEntries[3]->FileName, ansi);
  EXPECT_EQ(zip.ListResults().DirEntries[4]->FileName, oem);  // flagged UTF-8: never converted
  EXPECT_EQ(zip.ListResults().LastHostSystem, 0);

  zip.SetCodePage(cpNone);
  zip.List();
  EXPECT_EQ(zip.ListResults().DirEntries[0]->FileName, oem);
  EXPECT_EQ(zip.ListResults().DirEntries[2]->FileName, ansi);
  EXPECT_EQ(zip.ListResults().DirEntries[3]->FileName, ansi);

  zip.SetCodePage(cpOEM);
  zip.List();
  EXPECT_EQ(zip.ListResults().DirEntries[1]->FileName, ansi);
  EXPECT_EQ(zip.ListResults().DirEntries[4]->FileName, oem);
}

TEST_F(ListDirectory, TruncatedCentralDirectoryAndAFreshStart) {
  const std::string whole = BuildTestZip(TwoFiles());
  // The end record counts one header more than the directory holds.
  std::string cut = whole;
  cut[cut.size() - 22 + 10] = 3;
  List(cut);
  EXPECT_EQ(ids, (std::vector<std::int32_t>{MessageId::CentralHeaderReadFailed}));
  EXPECT_EQ(zip.Volume().CurrentVolume(), 0);
  EXPECT_EQ(zip.ZipFileName(), "");
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(zip.ListResults().FirstEntryOffset, 0);
  EXPECT_EQ(zip.Volume().VolumeHandle(), NoFileHandle);
  EXPECT_EQ(updates, 1);

  ids.clear();
  List(whole);
  EXPECT_TRUE(ids.empty());
  EXPECT_EQ(zip.EntryCount(), 2);
  EXPECT_FALSE(zip.ListResults().StructureWarning);
}

TEST_F(ListDirectory, HandlerErrorsBecomeUnknownErrorReports) {
  zip.OnNewName = [](TObject*, std::int32_t, const ZipDirEntry&) {
    throw std::runtime_error("handler failed");
  };
  List(BuildTestZip(TwoFiles()));
  EXPECT_EQ(ids, std::vector<std::int32_t>{MessageId::ListUnknownError});
  EXPECT_EQ(zip.LastMessage(), "Unknown error in List() function\nhandler failed");
  EXPECT_EQ(zip.ZipFileName(), "");

  int updates = 0;
  zip.OnDirUpdate = [&](TObject*) { ++updates; };
  zip.OnNewName = [](TObject*, std::int32_t, const ZipDirEntry&) { throw 42; };
  ids.clear();
  List(BuildTestZip(TwoFiles()));
  EXPECT_EQ(ids, std::vector<std::int32_t>{MessageId::ListUnknownError});
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(updates, 1);
}

TEST_F(ListDirectory, MessagesAreShownUnlessUnattended) {
  zip.SetUnattended(false);
  List("not a zip at all, just some text that is long enough");
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].text, "This archive is not a valid Zip archive");
  EXPECT_FALSE(backend.busyCursor);
}

}  // namespace
