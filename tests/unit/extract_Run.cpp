// Extract's course: loading, early returns, re-entry, the unattended password rule.
#include <stdexcept>

#include "tests/support/ZipComponentTestPeer.h"
#include "tests/unit/extract_Fixture.h"
#include "zip/ZipMsg.h"

namespace {
class RunTest : public ExtractFixture {};

TEST_F(RunTest, NoArchiveReportsAndLoadsNothing) {
  zip->SetZipFileName("");
  TZipComponentTestPeer::ExtractedCount(*zip) = 9;
  zip->Extract();
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::NoArchiveNamed});
  EXPECT_EQ(zip->ExtractedCount(), 0);
  EXPECT_EQ(fake.Log().VersionCalls, 0);
  EXPECT_EQ(fake.Log().ExecCalls, 0);
}

TEST_F(RunTest, LibraryIsLoadedOnlyForTheExtraction) {
  fake.Reset(160, 6);
  zip->SetTrace(true);
  zip->FSpecArgs().Add("x");
  zip->Extract();
  EXPECT_EQ(zip->ExtractedCount(), 6);
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::LibraryLoaded});
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Handle(), nullptr);
  EXPECT_FALSE(zip->InOperation());
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Version(), 160);
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Handle(), nullptr);
}

TEST_F(RunTest, MissingLibraryIsReportedEveryTime) {
  zip->SetDLLDirectory(base);
  zip->FSpecArgs().Add("kept");
  zip->Extract();
  zip->Extract();
  EXPECT_EQ(ReportedIds(),
            (std::vector<std::int32_t>{MessageId::LibraryNotFound, MessageId::LibraryNotFound}));
  EXPECT_FALSE(zip->InOperation());
  EXPECT_EQ(zip->FSpecArgs().Count(), 1);
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Version(), 0);
  EXPECT_EQ(fake.Log().ExecCalls, 0);
}

TEST_F(RunTest, UnattendedWithoutPasswordWarnsAndPassesNoRequests) {
  zip->SetUnattended(true);
  zip->SetPasswordReqCount(5);
  zip->Extract();
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::UnattendedPasswordWarning});
  EXPECT_TRUE(backend.shown.empty());
  EXPECT_EQ(Command().Record.PasswordReqCount, 0);
  EXPECT_EQ(zip->PasswordReqCount(), 5u);

  messages.clear();
  zip->SetPassword("pw");
  zip->Extract();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Command().Record.PasswordReqCount, 5);
}

TEST_F(RunTest, RequestCountComesBackWhenTheLibraryIsMissing) {
  zip->SetUnattended(true);
  zip->SetPasswordReqCount(5);
  zip->SetDLLDirectory(base);
  zip->Extract();
  EXPECT_EQ(ReportedIds(),
            (std::vector<std::int32_t>{MessageId::UnattendedPasswordWarning, MessageId::LibraryNotFound}));
  EXPECT_EQ(zip->PasswordReqCount(), 5u);
}

TEST_F(RunTest, SecondExtractDuringOneReturnsAtOnce) {
  fake.Reset(160, 3);
  fake.Step(kvxWritten);
  int nested = 0;
  backend.onProcessMessages = [&] {
    ++nested;
    zip->Extract();
    EXPECT_EQ(zip->ExtractedCount(), 0);
    EXPECT_TRUE(zip->InOperation());
  };
  zip->Extract();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(fake.Log().ExecCalls, 1);
  EXPECT_EQ(zip->ExtractedCount(), 3);
  EXPECT_TRUE(messages.empty());
}

TEST_F(RunTest, AHandlerThatRaisesWhileTheLibraryLoadsIsReported) {
  zip->SetTrace(true);
  const auto record = zip->OnMessage;
  zip->OnMessage = [&](TZipComponent* sender, std::int32_t code, const std::string& text) {
    record(sender, code, text);
    if (sender->LastErrorCode() == MessageId::LibraryLoaded) throw std::runtime_error("handler failed");
  };
  zip->Extract();
  EXPECT_EQ(ReportedIds(),
            (std::vector<std::int32_t>{MessageId::LibraryLoaded, MessageId::FatalUnzipLibraryError}));
  EXPECT_EQ(fake.Log().ExecCalls, 0);
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Handle(), nullptr);
  EXPECT_FALSE(zip->InOperation());
}

class NoExecTest : public ExtractFixture {
 protected:
  NoExecTest() : ExtractFixture("fakekvx-noexec") {}
};

TEST_F(NoExecTest, MissingExecIsAFailedCall) {
  zip->FSpecArgs().Add("x");
  zip->Extract();
  EXPECT_EQ(ReportedIds(),
            (std::vector<std::int32_t>{MessageId::ExecFunctionNotFound, MessageId::FatalUnzipLibraryError}));
  EXPECT_EQ(zip->ExtractedCount(), 0);
  EXPECT_EQ(zip->FSpecArgs().Count(), 0);
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Handle(), nullptr);
}

class NoVersionTest : public ExtractFixture {
 protected:
  NoVersionTest() : ExtractFixture("fakekvx-noversion") {}
};

TEST_F(NoVersionTest, MissingVersionIsNeverCalledAndTheLibraryIsNot) {
  zip->Extract();
  EXPECT_EQ(ReportedIds(), (std::vector<std::int32_t>{MessageId::VersionFunctionNotFound,
                                                      MessageId::FatalUnzipLibraryError}));
  EXPECT_EQ(fake.Log().ExecCalls, 0);
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Version(), 0);
}
}  // namespace
