// The component's construction, stored form values, setters and small helpers.
#include <gtest/gtest.h>

#include "classlib/ScriptedBackend.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"

namespace {

class ZipCore : public ::testing::Test {
 protected:
  void SetUp() override { SetBackend(&backend); }
  void TearDown() override { SetBackend(nullptr); }
  TScriptedBackend backend;
};

TEST_F(ZipCore, ConstructionGivesTheDocumentedValues) {
  TZipComponent zip(nullptr);
  EXPECT_EQ(zip.SFXOptions().ToBits(), 0x10);
  EXPECT_EQ(zip.AddStoreSuffixes().ToBits(), 0x07FF);
  EXPECT_EQ(zip.ExtrOptions().ToBits(), 0);
  EXPECT_EQ(zip.VersionInfo(), "1.60 L");
  EXPECT_EQ(zip.Volume().VolumeHandle(), -1);
  ASSERT_NE(zip.StreamBuffer(), nullptr);
  EXPECT_EQ(zip.StreamBuffer()->Size(), 0);
  EXPECT_EQ(zip.EntryCount(), 0);
}

TEST_F(ZipCore, StoredFormValuesOfZipComponent1) {
  TZipComponent zip(nullptr);
  ApplyStoredZipComponent1(zip);
  EXPECT_EQ(zip.ExtrOptions().ToBits(), 0x03);  // ExtrDirNames and ExtrOverWrite
  EXPECT_EQ(zip.RootDir(), "C:\\");
  EXPECT_EQ(zip.AddStoreSuffixes().ToBits(), 0x07FF);
  EXPECT_FALSE(zip.Unattended());
  EXPECT_EQ(zip.SFXCaption(), "Self-extracting Archive");
}

TEST_F(ZipCore, SettersWithSideEffects) {
  TZipComponent zip(nullptr);
  zip.SetDLLDirectory("C:\\libs\\");
  EXPECT_EQ(zip.DLLDirectory(), "C:\\libs");
  zip.SetDLLDirectory("C:\\libs\\\\");
  EXPECT_EQ(zip.DLLDirectory(), "C:\\libs\\");
  zip.SetDLLDirectory("/opt/kvx/");
  EXPECT_EQ(zip.DLLDirectory(), "/opt/kvx");
  zip.SetDLLDirectory("");
  EXPECT_EQ(zip.DLLDirectory(), "");

  zip.SetRootDir("/tmp/KORVEX");
  EXPECT_EQ(zip.RootDir(), "/tmp/KORVEX/");
  zip.SetRootDir("C:\\");
  EXPECT_EQ(zip.RootDir(), "C:\\");

  zip.SetPasswordReqCount(100);
  EXPECT_EQ(zip.PasswordReqCount(), 15u);
  zip.SetPasswordReqCount(15);
  EXPECT_EQ(zip.PasswordReqCount(), 15u);
  zip.SetPasswordReqCount(0);
  EXPECT_EQ(zip.PasswordReqCount(), 0u);

  zip.SetVersionInfo("2.0");
  EXPECT_EQ(zip.VersionInfo(), "1.60 L");
}

TEST_F(ZipCore, PasswordKeepsAtMost255BytesWithoutSplittingACharacter) {
  TZipComponent zip(nullptr);
  zip.SetPassword(std::string(300, 'a'));
  EXPECT_EQ(zip.Password().size(), 255u);
  zip.SetPassword(std::string(254, 'a') + "\xC3\xA4");  // the two-byte character would be cut
  EXPECT_EQ(zip.Password(), std::string(254, 'a'));
}

TEST(ZipPaths, Helpers) {
  EXPECT_EQ(TZipComponent::ToBackslashes("a/b/c.htm"), "a\\b\\c.htm");
  EXPECT_EQ(TZipComponent::ToBackslashes(""), "");
  EXPECT_EQ(TZipComponent::WithTrailingBackslash("/tmp/x"), "/tmp/x/");
  EXPECT_EQ(TZipComponent::WithTrailingBackslash("/tmp/x/"), "/tmp/x/");
  EXPECT_EQ(TZipComponent::WithTrailingBackslash("C:\\x\\"), "C:\\x\\");
  EXPECT_EQ(TZipComponent::WithTrailingBackslash(""), "");
}

TEST_F(ZipCore, EveryAssignmentOfZipFileNameReadsTheDirectory) {
  TTempFolder folder;
  const std::string name = folder / "a.zip";
  TestZip archive;
  archive.entries.push_back(TestEntry("index.htm", "<html>"));
  WriteBytes(name, BuildTestZip(archive));
  TZipComponent zip(nullptr);
  int updates = 0;
  zip.OnDirUpdate = [&](TObject*) { ++updates; };
  zip.SetZipFileName(name);
  zip.SetZipFileName(name);
  EXPECT_EQ(updates, 2);
  EXPECT_EQ(zip.EntryCount(), 1);

  zip.Designing = true;
  zip.SetZipFileName(name);
  EXPECT_EQ(updates, 2);
}

TEST(ZipStream, AttachBufferReadsTheBlockWithoutCopying) {
  TZipStream stream;
  const char block[] = "abcdef";
  stream.AttachBuffer(block, 6);
  EXPECT_EQ(stream.Size(), 6);
  char out[4] = {};
  EXPECT_EQ(stream.Read(out, 3), 3);
  EXPECT_EQ(std::string(out, 3), "abc");
  stream.AttachBuffer(nullptr, 10);
  EXPECT_EQ(stream.Size(), 0);
}

}  // namespace
