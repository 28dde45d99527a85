// The component's own password questions, asked when no OnPasswordError handler answers.
#include "zip/PasswordDlg.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

bool TZipComponent::RunPasswordDialog(const std::string& caption, const std::string& prompt,
                                      std::string& text) {
  TPasswordDlg dialog(this, 0);
  dialog.ShowPrompt(caption, prompt, text);
  return dialog.Accepted == 1;
}

void TZipComponent::AskExtractPassword(std::string& password) {
  std::string result;
  if (Unattended())
    ReportMessage(EX_NoPassword, "");
  else
    RunPasswordDialog(LoadMessageText(PW_Caption, MissingMessageText),
                      LoadMessageText(PW_MessageEnter, ""), result);
  password = result;
}

void TZipComponent::AskAddPassword(std::string& password) {
  std::string result;
  if (Unattended()) {
    ReportMessage(AD_NoPassword, "");
  } else {
    const std::string caption = LoadMessageText(PW_Caption, MissingMessageText);
    std::string first;
    if (RunPasswordDialog(caption, LoadMessageText(PW_MessageEnter, ""), first) && !first.empty() &&
        RunPasswordDialog(caption, LoadMessageText(PW_MessageConfirm, ""), result) &&
        !result.empty() && first != result) {
      ReportMessage(GE_WrongPassword, "");
      result.clear();
    }
  }
  password = result;
}
