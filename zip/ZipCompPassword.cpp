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
    ReportMessage(MessageId::NoExtractPassword, "");
  else
    RunPasswordDialog(LoadMessageText(MessageId::PasswordCaption, MissingMessageText),
                      LoadMessageText(MessageId::PasswordEnterPrompt, ""), result);
  password = result;
}

void TZipComponent::AskAddPassword(std::string& password) {
  std::string result;
  if (Unattended()) {
    ReportMessage(MessageId::NoAddPassword, "");
  } else {
    const std::string caption = LoadMessageText(MessageId::PasswordCaption, MissingMessageText);
    std::string first;
    if (RunPasswordDialog(caption, LoadMessageText(MessageId::PasswordEnterPrompt, ""), first) &&
        !first.empty() &&
        RunPasswordDialog(caption, LoadMessageText(MessageId::PasswordConfirmPrompt, ""), result) &&
        !result.empty() && first != result) {
      ReportMessage(MessageId::PasswordsDiffer, "");
      result.clear();
    }
  }
  password = result;
}
