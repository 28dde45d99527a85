// Where the joined file goes: a temporary name in TempDir, or a name the caller gives, whose
// existing file is put aside first and never written through.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/integration/span_Fixture.h"
#include "zip/ZipMsg.h"

namespace {

class OutputNames : public SpanJoinTest {
 protected:
  void SetUp() override {
    SpanJoinTest::SetUp();
    CraftedSet set;
    set.partSize = 300;
    set.entries = {{"a.txt", std::string(500, 'a')}, {"b.txt", std::string(200, 'b')}};
    parts = WriteNumberedParts(dir.Path(), "set", BuildCraftedSet(set));
    listing = ExpectedListing(set);
  }
  std::int32_t JoinTo(const std::string& name) {
    out = name;
    return zip.ReadSpan(parts.back(), out);
  }
  std::vector<std::string> parts;
  std::string listing;
};

TEST_F(OutputNames, TempDirWithoutDelimiterGetsOneAndHoldsTheOutput) {
  zip.SetTempDir(dir / "temp");
  ASSERT_EQ(JoinTo(dir.Path() + "/"), 0);
  EXPECT_EQ(zip.TempDir(), dir / "temp/");
  EXPECT_EQ(ExtractFileDir(out), dir / "temp");
  EXPECT_EQ(ExtractFileExt(out), ".zip");
  EXPECT_EQ(ZipfileListing(out), listing);
}

TEST_F(OutputNames, ExistingOutputGoesToTheTrashWithAllowUndo) {
  // The trash lives under the user's data folder, for files on the home's file system (a /tmp of its
  // own has no trash): both lie in the test's folder for the join.
  const std::string home = dir / "data";
  const char* saved = getenv("XDG_DATA_HOME");
  const std::string savedValue = saved ? saved : "";
  const char* savedHome = getenv("HOME");
  const std::string savedHomeValue = savedHome ? savedHome : "";
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  setenv("HOME", dir.Path().c_str(), 1);
  WriteBytes(dir / "joined.zip", "old contents");
  zip.SetHowToDelete(htdAllowUndo);
  const std::int32_t result = JoinTo(dir / "joined.zip");
  saved ? setenv("XDG_DATA_HOME", savedValue.c_str(), 1) : unsetenv("XDG_DATA_HOME");
  savedHome ? setenv("HOME", savedHomeValue.c_str(), 1) : unsetenv("HOME");
  ASSERT_EQ(result, 0) << messages.back();
  EXPECT_EQ(out, dir / "joined.zip");
  EXPECT_EQ(ZipfileListing(out), listing);
  EXPECT_EQ(ReadBytes(home + "/Trash/files/joined.zip"), "old contents");
}

TEST_F(OutputNames, FinalDeleteReplacesTheFileAndOnlyTheNameWritten) {
  WriteBytes(dir / "joined.zip", "old contents");
  WriteBytes(dir / "joined.dat", "keep me");
  zip.SetHowToDelete(htdFinal);
  ASSERT_EQ(JoinTo(dir / "joined.dat"), 0) << messages.back();
  EXPECT_EQ(out, dir / "joined.zip");
  EXPECT_EQ(ZipfileListing(out), listing);
  EXPECT_EQ(ReadBytes(dir / "joined.dat"), "keep me");
}

TEST_F(OutputNames, NeverWritesThroughALinkNorOverAPartOfTheSet) {
  zip.SetHowToDelete(htdFinal);
  ASSERT_EQ(symlink((dir / "target.zip").c_str(), (dir / "link.zip").c_str()), 0);
  EXPECT_EQ(JoinTo(dir / "link.zip"), -7);
  EXPECT_EQ(zip.LastErrorCode(), 11009);
  EXPECT_FALSE(FileExists(dir / "target.zip"));

  const std::string first = ReadBytes(parts[0]);
  EXPECT_EQ(JoinTo(parts[0]), -7);
  EXPECT_EQ(zip.LastErrorCode(), 11009);
  EXPECT_EQ(ReadBytes(parts[0]), first);
  ExpectRunEnded();
}

// No name of a part, under any link or spelling, is replaced; a file that is replaced keeps its mode.
TEST_F(OutputNames, TheSetIsNeverItsOwnOutputAndAReplacedFileKeepsItsMode) {
  zip.SetHowToDelete(htdFinal);
  const std::string first = ReadBytes(parts[0]), last = ReadBytes(parts.back());
  ASSERT_EQ(link(parts[0].c_str(), (dir / "alias.zip").c_str()), 0);
  ASSERT_EQ(symlink(dir.Path().c_str(), (dir / "here").c_str()), 0);
  for (const std::string& name : {dir / "alias.zip", dir / "here/set003.zip"}) {
    EXPECT_EQ(JoinTo(name), -7) << name;
    EXPECT_EQ(zip.LastErrorCode(), 11009);
  }
  EXPECT_EQ(ReadBytes(parts[0]), first);
  EXPECT_EQ(ReadBytes(dir / "alias.zip"), first);
  EXPECT_EQ(ReadBytes(parts.back()), last);

  WriteBytes(dir / "shared.zip", "old contents");
  ASSERT_EQ(chmod((dir / "shared.zip").c_str(), 0640), 0);
  ASSERT_EQ(JoinTo(dir / "shared.zip"), 0) << messages.back();
  EXPECT_EQ(ZipfileListing(out), listing);
  struct stat st = {};
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A pipe as the archive or as a part is refused at once instead of waiting for a writer.
TEST_F(OutputNames, PipesAreRefusedWithoutWaiting) {
  ASSERT_EQ(std::remove(parts[1].c_str()), 0);
  ASSERT_EQ(mkfifo(parts[1].c_str(), 0600), 0);
  EXPECT_EQ(JoinTo(dir.Path() + "/"), -7);
  EXPECT_EQ(zip.LastErrorCode(), MessageId::NotARegularFile);
  EXPECT_EQ(zip.LastMessage(), "Not a regular file: " + parts[1]);
  ExpectRunEnded();

  const std::string pipe = dir / "pipe001.zip";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  out = dir.Path() + "/";
  EXPECT_EQ(zip.ReadSpan(pipe, out), -7);
  EXPECT_EQ(zip.LastErrorCode(), MessageId::NotARegularFile);
  zip.SetZipFileName(pipe);
  EXPECT_EQ(zip.LastErrorCode(), MessageId::NotARegularFile);
  EXPECT_EQ(zip.ZipFileName(), "");
}

TEST_F(OutputNames, NoTemporaryNameInAMissingFolder) {
  zip.SetTempDir(dir / "missing");
  EXPECT_EQ(JoinTo(dir.Path() + "/"), -7);
  EXPECT_EQ(zip.LastErrorCode(), 11027);
  EXPECT_TRUE(out.empty());
  ExpectRunEnded();
}

}  // namespace
