// The scripted backend answers from its queues and records everything; the null one never blocks.
#include <gtest/gtest.h>

#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"

namespace {

TModalForm PasswordForm(std::string* accepted) {
  TModalForm form;
  form.caption = "Password";
  form.labels.push_back({8, 8, 200, 16, "Enter Password "});
  form.edits.push_back({8, 30, 200, '*', 5, "old"});
  form.buttons.push_back({8, 60, 75, 25, bkCancel, "Cancel", [accepted] { *accepted = "cancel clicked"; }});
  form.buttons.push_back({100, 60, 75, 25, bkOK, "OK", [accepted] { *accepted = "ok clicked"; }});
  return form;
}

}  // namespace

TEST(ScriptedBackend, MessageBoxesAnswerFromTheQueueThenOk) {
  TScriptedBackend backend;
  int hookRuns = 0;
  backend.onMessageBox = [&] { ++hookRuns; };
  backend.messageBoxAnswers = {IDCANCEL};
  EXPECT_EQ(backend.MessageBox("Insert disk", "Korvex Folivo", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(backend.MessageBox("Again", "Korvex Folivo", MB_OKCANCEL | MB_ICONHAND), IDOK);
  EXPECT_EQ(hookRuns, 2);
  ASSERT_EQ(backend.shown.size(), 2u);
  EXPECT_EQ(backend.shown[1].text, "Again");
  EXPECT_EQ(backend.shown[1].style, MB_OKCANCEL | MB_ICONHAND);
}

TEST(ScriptedBackend, DialogsDefaultToTheirEscapeAndCancel) {
  TScriptedBackend backend;
  TMessageDialog dialog;
  dialog.text = "Open an issue?";
  dialog.buttons = {mbYes, mbNo};
  EXPECT_EQ(backend.MessageDlg(dialog), mrNo);
  backend.messageDlgAnswers = {mrYes};
  EXPECT_EQ(backend.MessageDlg(dialog), mrYes);

  TOpenDialog open;
  open.fileName = "/old.kvx";
  EXPECT_FALSE(backend.ExecuteOpenDialog(open));
  backend.openDialogAnswers = {"/issues/may.kvx"};
  EXPECT_TRUE(backend.ExecuteOpenDialog(open));
  EXPECT_EQ(open.fileName, "/issues/may.kvx");
  ASSERT_EQ(backend.openDialogsSeen.size(), 2u);
  EXPECT_EQ(backend.openDialogsSeen[0].fileName, "/old.kvx");
}

TEST(ScriptedBackend, FormsTakeTypedTextAndCloseAsScripted) {
  TScriptedBackend backend;
  std::string clicked;
  TModalForm form = PasswordForm(&clicked);
  EXPECT_EQ(backend.ShowModalForm(form), mrCancel);  // nothing scripted: the close box
  EXPECT_EQ(form.edits[0].text, "old");
  EXPECT_EQ(clicked, "");

  backend.formAnswers = {{"secret-too-long", TScriptedBackend::PressEnter},
                         {"abc", TScriptedBackend::PressEscape}};
  EXPECT_EQ(backend.ShowModalForm(form), mrOk);
  EXPECT_EQ(form.edits[0].text, "secre");
  EXPECT_EQ(clicked, "ok clicked");
  clicked.clear();
  EXPECT_EQ(backend.ShowModalForm(form), mrCancel);
  EXPECT_EQ(clicked, "");
  ASSERT_EQ(backend.formsSeen.size(), 3u);
  EXPECT_EQ(backend.shown.back().kind, "Form");
  EXPECT_EQ(backend.shown.back().text, "Enter Password ");
}

TEST(ScriptedBackend, MessagesAndCursorGoThroughTheInstalledBackend) {
  TScriptedBackend backend;
  SetBackend(&backend);
  backend.onProcessMessages = [&] {
    backend.onProcessMessages = nullptr;
    Application.ProcessMessages();
  };
  Application.ProcessMessages();
  SetScreenCursor(crHourGlass);
  EXPECT_TRUE(backend.busyCursor);
  SetScreenCursor(crDefault);
  EXPECT_FALSE(backend.busyCursor);
  SetBackend(nullptr);
  EXPECT_EQ(backend.processMessagesCalls, 2);
}

TEST(NullBackend, NeverBlocksAndAnswersCancel) {
  SetBackend(nullptr);
  EXPECT_EQ(Backend().MessageBox("x", "y", MB_OK), IDOK);
  EXPECT_EQ(Backend().MessageBox("x", "y", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(Backend().MessageBox("x", "y", MB_YESNO), IDNO);
  TOpenDialog open;
  EXPECT_FALSE(Backend().ExecuteOpenDialog(open));
  TModalForm form;
  EXPECT_EQ(Backend().ShowModalForm(form), mrCancel);
  TMessageDialog dialog;
  EXPECT_EQ(Backend().MessageDlg(dialog), mrNo);
}
