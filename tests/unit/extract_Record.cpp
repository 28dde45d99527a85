// The command record the library receives: both layouts, the version rules, flags and texts.
#include <sys/stat.h>

#include <string>

#include "tests/support/FolderAccess.h"
#include "tests/support/ZipComponentTestPeer.h"
#include "tests/unit/extract_Fixture.h"
#include "zip/ZipMsg.h"
#include "zip/library/UnzipCommand.h"

namespace {
class RecordTest : public ExtractFixture {};

TEST_F(RecordTest, Version151UsesTheOldLayoutWithSpecSlots) {
  fake.Reset(151, 2);
  zip->FSpecArgs().Add("a/*.htm");
  zip->FSpecArgs().Add("index.htm");
  zip->SetPasswordReqCount(4);
  zip->Extract();
  const FakeKvxCommand& c = Command();
  ASSERT_EQ(fake.Log().ExecCalls, 1);
  EXPECT_TRUE(c.OldLayout);
  EXPECT_EQ(c.OldRecord.LayoutMarker, 7);
  EXPECT_EQ(c.OldRecord.SpecCount, 2);
  EXPECT_EQ(c.Specs, (std::vector<std::string>{"a/*.htm", "index.htm"}));
  EXPECT_TRUE(c.UnnamedBytesZero);
  EXPECT_EQ(c.OldRecord.Version, 160);
  EXPECT_EQ(c.OldRecord.Reserved40, -1);
  EXPECT_EQ(c.OldRecord.Caller, zip.get());
  EXPECT_EQ(zip->ExtractedCount(), 2);
  EXPECT_EQ(zip->FSpecArgs().Count(), 0);
}

TEST_F(RecordTest, Versions152To159UseTheNewLayoutWithoutRequestCount) {
  for (int version : {152, 159}) {
    fake.Reset(version);
    zip->SetPasswordReqCount(4);
    zip->FSpecArgs().Add("one");
    zip->FSpecArgs().Add("two");
    zip->Extract();
    const FakeKvxCommand& c = Command();
    EXPECT_FALSE(c.OldLayout);
    EXPECT_EQ(c.Record.LayoutMarker, 7) << version;
    EXPECT_EQ(c.Record.PasswordReqCount, 0) << version;
    EXPECT_EQ(c.Record.MemoryOutput, 0);
    EXPECT_EQ(c.Specs, (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(c.UnnamedBytesZero);
  }
}

TEST_F(RecordTest, Version160PassesTheRequestCountAndNoSpecsMeansEverything) {
  zip->SetPasswordReqCount(9);
  zip->Extract();
  const FakeKvxCommand& c = Command();
  EXPECT_EQ(c.Record.PasswordReqCount, 9);
  EXPECT_EQ(c.Record.SpecCount, 0);
  EXPECT_TRUE(c.Specs.empty());
}

TEST_F(RecordTest, FlagsFollowTheOptions) {
  zip->SetTrace(true);
  zip->SetExtrOptions({ExtrFreshen, ExtrUpdate, ExtrTest});
  zip->Extract();
  const UnzipCommandRecord& r = Command().Record;
  EXPECT_EQ(r.TraceFlag, -1);
  EXPECT_EQ(r.VerboseFlag, -1);
  EXPECT_EQ(r.UpdateFlag, -1);
  EXPECT_EQ(r.FreshenFlag, 0);
  EXPECT_EQ(r.TestFlag, -1);
  EXPECT_EQ(r.DirNamesFlag, 0);
  EXPECT_EQ(r.OverwriteFlag, 0);
  EXPECT_NE(r.Callback, nullptr);

  zip->SetTrace(false);
  zip->SetExtrOptions({ExtrFreshen, ExtrDirNames, ExtrOverWrite});
  zip->Extract();
  const UnzipCommandRecord& s = Command().Record;
  EXPECT_EQ(s.TraceFlag, 0);
  EXPECT_EQ(s.VerboseFlag, 0);
  EXPECT_EQ(s.FreshenFlag, -1);
  EXPECT_EQ(s.UpdateFlag, 0);
  EXPECT_EQ(s.DirNamesFlag, -1);
  EXPECT_EQ(s.OverwriteFlag, -1);
}

TEST_F(RecordTest, WindowHandleIsZeroWhenUnattended) {
  TZipComponentTestPeer::OwnerWindow(*zip) = reinterpret_cast<void*>(0x1234);
  zip->Extract();
  EXPECT_EQ(Command().Record.Handle, reinterpret_cast<void*>(0x1234));
  zip->SetUnattended(true);
  zip->Extract();
  EXPECT_EQ(Command().Record.Handle, nullptr);
}

TEST_F(RecordTest, DummyPasswordOnlyForOldLibrariesAddingUnattended) {
  const std::string dummy(DummyPasswordLength, DummyPasswordChar);
  struct Case {
    int version;
    bool unattended, encrypt;
    std::string password, expected;
  } cases[] = {
      {159, true, true, "", dummy}, {151, true, true, "", dummy}, {160, true, true, "", ""},
      {159, false, true, "", ""},   {159, true, false, "", ""},   {159, true, true, "pw", "pw"},
  };
  for (const Case& k : cases) {
    fake.Reset(k.version);
    zip->SetUnattended(k.unattended);
    zip->SetAddOptions(k.encrypt ? AddOpts{AddEncrypt} : AddOpts{});
    zip->SetPassword(k.password);
    zip->Extract();
    EXPECT_FALSE(Command().PasswordNull);
    EXPECT_EQ(Command().Password, k.expected) << k.version << k.unattended << k.encrypt;
  }
  EXPECT_GE(DummyPasswordChar, '!');
  EXPECT_LE(DummyPasswordChar, '~');
}

TEST_F(RecordTest, ArchiveIsNamedInFullAndTheLibraryRunsInTheBaseFolder) {
  const std::string relative = "archive.zip";
  std::filesystem::copy_file(zip->ZipFileName(), base + "/" + relative);
  SetCurrentDirectoryA(base.c_str());
  std::filesystem::create_directory(base + "/out");
  zip->SetZipFileName(relative);
  zip->SetExtrBaseDir(base + "/out");
  zip->Extract();
  EXPECT_EQ(Command().ArchiveName, base + "/" + relative);
  EXPECT_TRUE(Command().ArchiveExisted);
  EXPECT_EQ(Command().CurrentDir, base + "/out");
}

TEST_F(RecordTest, MissingBaseFolderLeavesTheCurrentFolder) {
  SetCurrentDirectoryA(base.c_str());
  zip->SetExtrBaseDir(base + "/missing");
  zip->Extract();
  EXPECT_EQ(Command().CurrentDir, base);
  EXPECT_FALSE(DirectoryExists(base + "/missing"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(RecordTest, ABaseFolderThatCannotBeEnteredStopsTheExtraction) {
  SetCurrentDirectoryA(base.c_str());
  const std::string locked = base + "/locked";
  std::filesystem::create_directory(locked);
  chmod(locked.c_str(), 0);
  zip->SetExtrBaseDir(locked);
  {
    const TPermissionBitsApply bitsApply;
    if (SetCurrentDirectoryA(locked.c_str())) GTEST_SKIP() << "this process enters any folder";
    zip->Extract();
  }
  chmod(locked.c_str(), 0700);
  EXPECT_EQ(fake.Log().ExecCalls, 0);
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::OutputCreateFailed});
  EXPECT_EQ(messages.at(0).Text, "Creation of output file failed: " + locked);
  EXPECT_EQ(GetCurrentDir(), base);
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Handle(), nullptr);
  EXPECT_FALSE(zip->InOperation());
}

TEST_F(RecordTest, TooManySpecsForTheOldLayoutAreRefused) {
  fake.Reset(151);
  for (int i = 0; i <= kvxOldLayoutSpecSlots; ++i) zip->FSpecArgs().Add("f" + std::to_string(i));
  zip->Extract();
  EXPECT_EQ(fake.Log().ExecCalls, 0);
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::FatalUnzipLibraryError});
  EXPECT_EQ(zip->FSpecArgs().Count(), 0);

  for (int i = 0; i < kvxOldLayoutSpecSlots; ++i) zip->FSpecArgs().Add("f" + std::to_string(i));
  zip->Extract();
  ASSERT_EQ(fake.Log().ExecCalls, 1);
  EXPECT_EQ(Command().Specs.size(), std::size_t{kvxOldLayoutSpecSlots});
  EXPECT_EQ(Command().Specs.back(), "f4096");
}
}  // namespace
