// Joining numbered sets that the zip tool split: the result must be what the zip tool's own join
// makes, test clean, and unpack to the tree that went in.
#include <algorithm>

#include "tests/integration/span_Fixture.h"

namespace {

class ZipToolSets : public SpanJoinTest {
 protected:
  // Joins the set, compares with the zip tool's join and unpacks it over the tree it came from.
  void ExpectJoinsLikeZip(const std::vector<std::string>& parts) {
    ASSERT_GE(parts.size(), 3u);
    ASSERT_EQ(Join(parts.back()), 0) << (messages.empty() ? "" : messages.back());
    ExpectRunEnded();
    EXPECT_EQ(ExtractFileDir(out) + "/", zip.TempDir());
    Shell("cd " + Quoted(dir.Path()) + " && cp set" + std::string(parts.size() < 10 ? "00" : "0") +
          std::to_string(parts.size()) + ".zip set.zip");
    for (std::size_t k = 1; k < parts.size(); ++k) {
      char z[32];
      std::snprintf(z, sizeof z, "set.z%02zu", k);
      Shell("cp " + Quoted(parts[k - 1]) + " " + Quoted(dir / z));
    }
    ASSERT_EQ(Shell("cd " + Quoted(dir.Path()) + " && zip -q -s 0 set.zip --out ref.zip"), 0);
    EXPECT_EQ(ReadBytes(out), ReadBytes(dir / "ref.zip"));
    EXPECT_EQ(Shell("unzip -tq " + Quoted(out) + " >/dev/null"), 0);
    ASSERT_EQ(Shell("unzip -q " + Quoted(out) + " -d " + Quoted(dir / "x")), 0);
    EXPECT_EQ(Shell("diff -r " + Quoted(dir / "tree") + " " + Quoted(dir / "x/tree")), 0);
  }

  std::uint16_t EndRecordField(const std::string& part, std::size_t field) {
    const std::string bytes = ReadBytes(part);
    const std::size_t at = bytes.rfind("PK\x05\x06");
    return ByteReader(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, 22).U16(field);
  }
};

TEST_F(ZipToolSets, CentralDirectoryOnTheLastPart) {
  MakeTree(dir.Path(), 24, 60000, 1);
  const auto parts = MakeNumberedSet(dir.Path(), "64k");
  ASSERT_EQ(EndRecordField(parts.back(), EndRec::CentralVolume), parts.size() - 1);
  ExpectJoinsLikeZip(parts);
  ExpectSingleVolume(EndRecordField(parts.back(), EndRec::TotalEntries));

  const std::int32_t entries = EndRecordField(parts.back(), EndRec::TotalEntries);
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress[0].kind, ptFileCount);
  EXPECT_EQ(progress[0].size, entries);
  EXPECT_EQ(progress[1].kind, ptByteCount);
  std::int32_t starts = 0;
  for (const ProgressEvent& e : progress) starts += e.kind == ptFileStart;
  EXPECT_EQ(starts, entries);
  EXPECT_EQ(messages.size(), static_cast<std::size_t>(entries));
  EXPECT_EQ(messages[0].rfind("Copying: tree\\", 0), 0u) << messages[0];
  EXPECT_EQ(zip.LastErrorCode(), 0);
  // The output carries the date of the last part.
  const FileHandle last = FileOpenRead(parts.back()), joined = FileOpenRead(out);
  EXPECT_EQ(FileGetDate(joined), FileGetDate(last));
  FileClose(last);
  FileClose(joined);
}

TEST_F(ZipToolSets, CentralDirectoryStartingOnAnEarlierPart) {
  MakeTree(dir.Path(), 1500, 60, 2);
  const auto parts = MakeNumberedSet(dir.Path(), "64k");
  ASSERT_LT(EndRecordField(parts.back(), EndRec::CentralVolume), parts.size() - 1);
  ExpectJoinsLikeZip(parts);
  ExpectSingleVolume(1500 + 2);  // the files and the two folders
}

TEST_F(ZipToolSets, ArchiveCommentsOfAnyLengthAreCarriedOver) {
  MakeTree(dir.Path(), 16, 60000, 3);
  for (const std::string& comment : {std::string("short"), std::string(3000, 'c')}) {
    SCOPED_TRACE(comment.size());
    WriteBytes(dir / "comment.txt", comment);
    Shell("cd " + Quoted(dir.Path()) + " && rm -f set*.zip set.z* ref.zip && rm -rf x");
    const auto parts = MakeNumberedSet(dir.Path(), "64k", "-z <comment.txt");
    // The comment as it follows the last part's end record.
    const std::string last = ReadBytes(parts.back());
    const std::string carried = last.substr(last.rfind("PK\x05\x06") + 22);
    ASSERT_GE(carried.size(), comment.size());
    ExpectJoinsLikeZip(parts);
    const std::string bytes = ReadBytes(out);
    EXPECT_EQ(bytes.substr(bytes.size() - carried.size()), carried);
  }
}

TEST_F(ZipToolSets, Zip64SetsAreListedAndJoined) {
  MakeTree(dir.Path(), 400, 3000, 6);
  const auto parts = MakeNumberedSet(dir.Path(), "64k", "-fz");
  ASSERT_GE(parts.size(), 3u);
  zip.SetZipFileName(parts.back());
  ASSERT_EQ(zip.ZipFileName(), parts.back()) << (messages.empty() ? "" : messages.back());
  EXPECT_EQ(zip.Volume().LastVolume(), static_cast<std::int32_t>(parts.size() - 1));
  ASSERT_EQ(zip.EntryCount(), 400);
  for (const auto& entry : zip.ListResults().DirEntries) {
    std::string name = entry->FileName;
    std::replace(name.begin(), name.end(), '\\', '/');
    EXPECT_EQ(entry->UncompressedSize64, ReadBytes(dir / name).size()) << name;
  }

  ASSERT_EQ(Join(parts.back()), 0) << (messages.empty() ? "" : messages.back());
  EXPECT_EQ(Shell("unzip -tq " + Quoted(out) + " >/dev/null"), 0);
  ASSERT_EQ(Shell("unzip -q " + Quoted(out) + " -d " + Quoted(dir / "x")), 0);
  EXPECT_EQ(Shell("diff -r " + Quoted(dir / "tree") + " " + Quoted(dir / "x/tree")), 0);
}

TEST_F(ZipToolSets, FixedDriveRefusesPartsBeforeTheLast) {
  MakeTree(dir.Path(), 24, 60000, 4);
  const auto parts = MakeNumberedSet(dir.Path(), "64k");
  ASSERT_GE(parts.size(), 3u);

  ExpectFailedWith(Join(parts[0]), 11037);
  progress.clear();
  ExpectFailedWith(Join(parts[1]), 11038);
  EXPECT_EQ(messages.back(),
            "This is the 2th disk in a backup set,\nplease insert the last disk of this set");
}

TEST_F(ZipToolSets, MissingOrCutPartsEndInAReport) {
  MakeTree(dir.Path(), 24, 60000, 5);
  const auto parts = MakeNumberedSet(dir.Path(), "64k");
  ASSERT_GE(parts.size(), 3u);
  const std::string middle = ReadBytes(parts[1]);

  std::remove(parts[1].c_str());
  ExpectFailedWith(Join(parts.back()), 11001);

  progress.clear();
  WriteBytes(parts[1], middle.substr(0, middle.size() / 2));
  EXPECT_EQ(Join(parts.back()), -7);
  EXPECT_TRUE(out.empty());
  ExpectRunEnded();
}

}  // namespace
