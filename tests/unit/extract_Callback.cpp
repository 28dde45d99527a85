// Every callback action, driven by the library double through a real extraction.
#include <cstring>
#include <stdexcept>

#include "tests/support/ZipComponentTestPeer.h"
#include "tests/unit/extract_Fixture.h"
#include "zip/ZipMsg.h"

namespace {
class CallbackTest : public ExtractFixture {};

std::string TextOf(const UnzipCallbackRecord& r) {
  return std::string(r.Text, strnlen(r.Text, 512));
}

TEST_F(CallbackTest, ProgressActionsAndTheTextAsTheComponentSeesIt) {
  std::vector<std::string> seen;
  zip->OnProgress = [&](TZipComponent* sender, ProgressType type, const std::string& name,
                        std::int32_t size) {
    EXPECT_EQ(sender, zip.get());
    seen.push_back(std::to_string(type) + ":" + name + ":" + std::to_string(size));
  };
  fake.Step(kvxFileCount, 0, 3);
  fake.Step(kvxByteCount, 0, 1000);
  fake.Step(kvxFileStart, 0, 42, "dir/sub/caf\xc3\xa9.htm \t\x01");
  fake.Step(kvxWritten, 0, 42, "ignored");
  fake.Step(kvxBatchEnd, 0, 99);
  fake.Step(kvxFileStart, 0, 7, std::string(512, 'n'));
  zip->Extract();
  EXPECT_EQ(seen, (std::vector<std::string>{"3::3", "4::1000", "0:dir\\sub\\caf\xc3\xa9.htm:42", "1::42",
                                            "2::0", "0:" + std::string(512, 'n') + ":7"}));
}

TEST_F(CallbackTest, LibraryMessagesSetTheCodesAndShowNoBox) {
  fake.Step(kvxMessage, 300, 0, "CRC error in a.htm");
  fake.Step(kvxMessage, 0, 0, "just saying");
  zip->Extract();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].ErrCode, 300);
  EXPECT_EQ(messages[0].Text, "CRC error in a.htm");
  EXPECT_EQ(zip->LastFullErrorCode(), 300);
  EXPECT_EQ(zip->LastErrorCode(), 44);
  EXPECT_EQ(zip->LastMessage(), "just saying");
  EXPECT_TRUE(backend.shown.empty());
}

TEST_F(CallbackTest, QuestionsWithoutHandlersLeaveTheRecordAlone) {
  fake.Step(kvxNewName, 77, 5, "old.htm");
  fake.Step(kvxOverwrite, 1, 0x101, "a.htm");
  fake.Step(kvxComment, 9, 9, "a.htm");
  fake.Step(kvxCrcError, 0x1234, 0x5678, "a.htm");
  zip->Extract();
  const int codes[] = {77, 1, 9}, numbers[] = {5, 0x101, 9};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Answer(i).Code, codes[i]);
    EXPECT_EQ(Answer(i).Number, numbers[i]);
  }
  EXPECT_EQ(TextOf(Answer(0)), "old.htm");
  EXPECT_EQ(TextOf(Answer(2)), "a.htm");
  EXPECT_EQ(Answer(3).Code, 2);
}

TEST_F(CallbackTest, NewNameAnswers) {
  std::string next;
  zip->OnSetNewName = [&](TZipComponent*, std::string& name, bool& changed) {
    EXPECT_EQ(name, "dir\\old.htm");
    changed = !next.empty();
    if (changed) name = next;
  };
  fake.Step(kvxNewName, 5, 0, "dir/old.htm");
  next = std::string(600, 'z');
  zip->Extract();
  EXPECT_EQ(Answer(0).Code, 1);
  EXPECT_EQ(TextOf(Answer(0)), std::string(511, 'z'));

  fake.Reset(160);
  fake.Step(kvxNewName, 5, 0, "dir/old.htm");
  next.clear();
  zip->Extract();
  EXPECT_EQ(Answer(0).Code, 0);
  EXPECT_EQ(TextOf(Answer(0)), "dir/old.htm");
}

TEST_F(CallbackTest, PasswordAnswersAreCutAndCountsCapped) {
  std::string answer = std::string(100, 'p');
  zip->OnPasswordError = [&](TZipComponent*, std::string& password, const std::string& file,
                             std::uint32_t& repeat) {
    EXPECT_EQ(file, "secret.htm");
    EXPECT_EQ(repeat, 20u);
    password = answer;
  };
  fake.Step(kvxPassword, 0, 20, "secret.htm");
  zip->Extract();
  EXPECT_EQ(TextOf(Answer(0)), std::string(80, 'p'));
  EXPECT_EQ(Answer(0).Code, 1);
  EXPECT_EQ(Answer(0).Number, 15);

  // The box takes 80 characters, whatever their bytes: "é" is two.
  fake.Reset(160);
  fake.Step(kvxPassword, 0, 20, "secret.htm");
  answer = "p";
  for (int i = 0; i < 90; ++i) answer += "\xc3\xa9";
  zip->Extract();
  EXPECT_EQ(TextOf(Answer(0)), answer.substr(0, 1 + 79 * 2));

  fake.Reset(160);
  fake.Step(kvxPassword, 0, 20, "secret.htm");
  answer.clear();
  zip->Extract();
  EXPECT_EQ(Answer(0).Code, 0);
  EXPECT_EQ(Answer(0).Number, 0);
}

TEST_F(CallbackTest, PasswordWithoutHandlerUnattendedReportsByQuestion) {
  zip->SetUnattended(true);
  zip->SetPassword("given");
  fake.Step(kvxPassword, 0, 3, "a.htm");
  fake.Step(kvxPassword, 1, 3, "a.htm");
  zip->Extract();
  EXPECT_EQ(ReportedIds(),
            (std::vector<std::int32_t>{MessageId::NoExtractPassword, MessageId::NoAddPassword}));
  EXPECT_EQ(Answer(1).Code, 0);
  EXPECT_TRUE(backend.formsSeen.empty());
}

TEST_F(CallbackTest, PasswordWithoutHandlerAsksTheDialog) {
  backend.formAnswers.push_back({"typed", TScriptedBackend::PressEnter});
  fake.Step(kvxPassword, 0, 2, "a.htm");
  zip->Extract();
  EXPECT_EQ(TextOf(Answer(0)), "typed");
  EXPECT_EQ(Answer(0).Number, 2);
  ASSERT_EQ(backend.formsSeen.size(), 1u);
}

TEST_F(CallbackTest, CrcAndOverwriteHandlersAnswer) {
  zip->OnCRC32Error = [](TZipComponent*, const std::string& file, std::uint32_t found, std::uint32_t expected,
                         bool& extract) {
    EXPECT_EQ(file, "a.htm");
    EXPECT_EQ(found, 0xFFFFFFFFu);
    EXPECT_EQ(expected, 0x80000000u);
    EXPECT_TRUE(extract);
    extract = false;
  };
  std::vector<std::pair<bool, bool>> asked;
  zip->OnExtractOverwrite = [&](TZipComponent*, const std::string&, bool older, bool& overwrite) {
    asked.emplace_back(older, overwrite);
    overwrite = !overwrite;
  };
  fake.Step(kvxCrcError, -1, INT32_MIN, "a.htm");
  fake.Step(kvxOverwrite, 3, 0x100, "b.htm");
  fake.Step(kvxOverwrite, 2, 0x01, "b.htm");
  zip->Extract();
  EXPECT_EQ(Answer(0).Code, 0);
  EXPECT_EQ(asked, (std::vector<std::pair<bool, bool>>{{true, false}, {false, true}}));
  EXPECT_EQ(Answer(1).Number, 1);
  EXPECT_EQ(Answer(2).Number, 0);
}

TEST_F(CallbackTest, SkippedEntriesSetCodesOnlyWhenGiven) {
  std::vector<int> skips;
  zip->OnExtractSkipped = [&](TZipComponent*, const std::string&, UnZipSkipTypes type, std::int32_t error) {
    skips.push_back(type);
    skips.push_back(error);
  };
  TZipComponentTestPeer::LastErrorCode(*zip) = 5;
  fake.Step(kvxSkipped, 0, 0x203, "a.htm");
  zip->Extract();
  EXPECT_EQ(zip->LastErrorCode(), 5);
  fake.Reset(160);
  fake.Step(kvxSkipped, 0x1FF, 4, "a.htm");
  zip->Extract();
  EXPECT_EQ(zip->LastErrorCode(), 255);
  EXPECT_EQ(zip->LastFullErrorCode(), 0x1FF);
  EXPECT_EQ(skips, (std::vector<int>{3, 0, 4, 0x1FF}));
}

TEST_F(CallbackTest, CommentAnswers) {
  std::string text = "a.htm";
  text.resize(256, '\0');
  text += 'C';
  struct Case {
    std::string newComment;
    bool changed;
    std::string text;
    int code, number;
  } cases[] = {{"hello", true, "hello", 1, 5},
               {"", true, "", 1, 0},
               {"ignored", false, "", 0, 7},
               {std::string(600, 'c'), true, std::string(511, 'c'), 1, 511}};
  for (const Case& k : cases) {
    zip->OnFileComment = [&](TZipComponent*, const std::string& file, std::string& comment, bool& changed) {
      EXPECT_EQ(file, "a.htm");
      EXPECT_EQ(comment, "C");
      comment = k.newComment;
      changed = k.changed;
    };
    fake.Reset(160);
    fake.Step(kvxComment, 0, 0, text);
    zip->Extract();
    EXPECT_EQ(TextOf(Answer(0)), k.text);
    EXPECT_EQ(Answer(0).Code, k.code);
    EXPECT_EQ(Answer(0).Number, k.number);
  }
}

TEST_F(CallbackTest, UnknownActionsOnlyProcessMessages) {
  int events = 0;
  zip->OnProgress = [&](TZipComponent*, ProgressType, const std::string&, std::int32_t) { ++events; };
  fake.Step(0, 1, 1, "x");
  fake.Step(13, 1, 1, "x");
  zip->Extract();
  EXPECT_EQ(events, 0);
  EXPECT_EQ(fake.Log().Answers.at(0).Result, 0);
  EXPECT_EQ(fake.Log().Answers.at(1).Result, 0);
  EXPECT_EQ(backend.processMessagesCalls, 2);
}

TEST_F(CallbackTest, CancelStopsTheLibraryAtTheNextCallback) {
  backend.onProcessMessages = [&] { zip->SetCancelRequested(true); };
  for (int i = 0; i < 3; ++i) fake.Step(kvxWritten, 0, 1);
  zip->Extract();
  ASSERT_EQ(fake.Log().Answers.size(), 2u);
  EXPECT_EQ(fake.Log().Answers[0].Result, 0);
  EXPECT_EQ(fake.Log().Answers[1].Result, -1);
  EXPECT_FALSE(zip->CancelRequested());
}

TEST_F(CallbackTest, HandlerExceptionStopsTheLibraryAndReportsFatal) {
  fake.Reset(160, 4);
  zip->OnProgress = [](TZipComponent*, ProgressType, const std::string&, std::int32_t) {
    throw std::runtime_error("handler failed");
  };
  fake.Step(kvxFileStart, 0, 1, "a.htm");
  fake.Step(kvxFileStart, 0, 1, "b.htm");
  zip->Extract();
  ASSERT_EQ(fake.Log().Answers.size(), 1u);
  EXPECT_EQ(fake.Log().Answers[0].Result, -1);
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::FatalUnzipLibraryError});
  EXPECT_EQ(zip->ExtractedCount(), 0);
  EXPECT_FALSE(zip->InOperation());

  zip->OnProgress = nullptr;
  fake.Reset(160, 4);
  zip->Extract();
  EXPECT_EQ(zip->ExtractedCount(), 4);
}

TEST_F(CallbackTest, TheComponentsOwnErrorFromAHandlerKeepsItsId) {
  zip->OnProgress = [](TZipComponent*, ProgressType, const std::string&, std::int32_t) {
    throw EZipComponent(MessageId::UserCanceled, false);
  };
  fake.Step(kvxFileStart, 0, 1, "a.htm");
  zip->Extract();
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::UserCanceled});
  EXPECT_TRUE(backend.shown.empty());
  EXPECT_EQ(zip->ExtractedCount(), 0);
}
}  // namespace
