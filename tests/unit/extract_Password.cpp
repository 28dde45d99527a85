// The password dialog and the component's two password questions.
#include "tests/support/ZipComponentTestPeer.h"
#include "tests/unit/extract_Fixture.h"
#include "zip/PasswordDlg.h"
#include "zip/ZipMsg.h"

namespace {
class PasswordTest : public ExtractFixture {
 protected:
  void Answer(const std::string& typed, TScriptedBackend::FormClose close) {
    backend.formAnswers.push_back({typed, close});
  }
};

TEST_F(PasswordTest, DialogLayout) {
  TPasswordDlg dialog(zip.get(), 0);
  const TModalForm& f = dialog.Form();
  EXPECT_EQ(f.width, 344);
  EXPECT_EQ(f.height, 137);
  EXPECT_EQ(f.font.name, "Arial");
  EXPECT_EQ(f.font.height, -12);
  EXPECT_TRUE(f.font.bold);
  EXPECT_TRUE(f.dialogBorder);
  EXPECT_TRUE(f.screenCenter);
  const TLabelSpec& label = dialog.PromptLabel();
  EXPECT_EQ((std::vector<int>{label.left, label.top, label.width, label.height}),
            (std::vector<int>{20, 8, 297, 18}));
  const TEditSpec& edit = dialog.PasswordEdit();
  EXPECT_EQ((std::vector<int>{edit.left, edit.top, edit.width, edit.maxLength}),
            (std::vector<int>{20, 40, 297, 80}));
  EXPECT_EQ(edit.passwordChar, '*');
  const TBitBtnSpec& ok = dialog.OkButton();
  const TBitBtnSpec& cancel = dialog.CancelButton();
  EXPECT_EQ((std::vector<int>{ok.left, ok.top, ok.width, ok.height}), (std::vector<int>{44, 72, 90, 28}));
  EXPECT_EQ((std::vector<int>{cancel.left, cancel.top, cancel.width, cancel.height}),
            (std::vector<int>{205, 72, 90, 28}));
  EXPECT_EQ(ok.kind, bkOK);
  EXPECT_EQ(cancel.kind, bkCancel);
  EXPECT_EQ(ok.caption, "&Ok");
  EXPECT_EQ(cancel.caption, "&Cancel");
  EXPECT_EQ(dialog.Accepted, 0);
}

TEST_F(PasswordTest, ExtractQuestionTakesOkAndEnterOnly) {
  struct Case {
    TScriptedBackend::FormClose close;
    std::string expected;
  } cases[] = {{TScriptedBackend::ClickOk, "s3cret"},
               {TScriptedBackend::PressEnter, "s3cret"},
               {TScriptedBackend::ClickCancel, ""},
               {TScriptedBackend::PressEscape, ""},
               {TScriptedBackend::CloseBox, ""}};
  for (const Case& k : cases) {
    Answer("s3cret", k.close);
    std::string password = "before";
    TZipComponentTestPeer::AskExtractPassword(*zip, password);
    EXPECT_EQ(password, k.expected) << k.close;
  }
  ASSERT_EQ(backend.formsSeen.size(), 5u);
  EXPECT_EQ(backend.formsSeen[0].caption, "Password");
  EXPECT_EQ(backend.formsSeen[0].labels[0].caption, "Enter Password ");
  EXPECT_TRUE(messages.empty());
}

TEST_F(PasswordTest, AddQuestionWantsTwoEqualEntries) {
  Answer("Secret", TScriptedBackend::ClickOk);
  Answer("Secret", TScriptedBackend::PressEnter);
  std::string password;
  TZipComponentTestPeer::AskAddPassword(*zip, password);
  EXPECT_EQ(password, "Secret");
  ASSERT_EQ(backend.formsSeen.size(), 2u);
  EXPECT_EQ(backend.formsSeen[1].labels[0].caption, "Confirm Password ");
  EXPECT_TRUE(messages.empty());

  Answer("Secret", TScriptedBackend::ClickOk);
  Answer("secret", TScriptedBackend::ClickOk);
  TZipComponentTestPeer::AskAddPassword(*zip, password);
  EXPECT_EQ(password, "");
  EXPECT_EQ(ReportedIds(), std::vector<std::int32_t>{MessageId::PasswordsDiffer});
  ASSERT_FALSE(backend.shown.empty());
  EXPECT_EQ(backend.shown.back().kind, "ShowMessage");
}

TEST_F(PasswordTest, AddQuestionStopsAtACancelledOrEmptyEntry) {
  std::string password = "x";
  Answer("Secret", TScriptedBackend::ClickOk);
  Answer("Secret", TScriptedBackend::PressEscape);
  TZipComponentTestPeer::AskAddPassword(*zip, password);
  EXPECT_EQ(password, "");
  EXPECT_EQ(backend.formsSeen.size(), 2u);

  Answer("", TScriptedBackend::ClickOk);
  TZipComponentTestPeer::AskAddPassword(*zip, password);
  EXPECT_EQ(backend.formsSeen.size(), 3u);

  Answer("Secret", TScriptedBackend::ClickCancel);
  TZipComponentTestPeer::AskAddPassword(*zip, password);
  EXPECT_EQ(password, "");
  EXPECT_EQ(backend.formsSeen.size(), 4u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PasswordTest, UnattendedShowsNoDialog) {
  zip->SetUnattended(true);
  std::string password = "x";
  TZipComponentTestPeer::AskExtractPassword(*zip, password);
  EXPECT_EQ(password, "");
  TZipComponentTestPeer::AskAddPassword(*zip, password);
  EXPECT_TRUE(backend.formsSeen.empty());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].Text, "Error - no extract password given");
  EXPECT_EQ(messages[1].Text, "Error - no add password given");
}
}  // namespace
