// The password dialog's layout and its modal run.
#include "zip/PasswordDlg.h"

#include "classlib/Backend.h"
#include "zip/ZipMsg.h"
#include "zip/ZipText.h"

TPasswordDlg::TPasswordDlg(TZipComponent*, int) {
  FForm.width = 344;
  FForm.height = 137;
  FForm.font = TFormFont{"Arial", -12, true};
  FForm.dialogBorder = true;
  FForm.screenCenter = true;
  FForm.labels.push_back(TLabelSpec{20, 8, 297, 18, ""});
  FForm.edits.push_back(TEditSpec{20, 40, 297, '*', PasswordMaxLength, ""});
  FForm.buttons.push_back(TBitBtnSpec{44, 72, 90, 28, bkOK, ZipMessageText(MessageId::PasswordOkButton),
                                      [this] { OkButtonClick(); }});
  FForm.buttons.push_back(
      TBitBtnSpec{205, 72, 90, 28, bkCancel, ZipMessageText(MessageId::PasswordCancelButton), {}});
}

void TPasswordDlg::OkButtonClick() {
  Accepted = 1;
}

void TPasswordDlg::ShowPrompt(const std::string& caption, const std::string& prompt, std::string& text) {
  FForm.caption = caption;
  PromptLabel().caption = prompt;
  Backend().ShowModalForm(FForm);
  text = Accepted == 1 ? PasswordEdit().text : std::string();
}
