#include "classlib/ScriptedBackend.h"

#include "classlib/Application.h"
#include "platform/CodePage.h"

namespace {

template <typename T>
bool PopAnswer(std::deque<T>& queue, T& answer) {
  if (queue.empty()) return false;
  answer = queue.front();
  queue.pop_front();
  return true;
}

}  // namespace

int TScriptedBackend::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  shown.push_back({"MessageBox", text, caption, style});
  if (onMessageBox) onMessageBox();
  int answer = IDOK;
  PopAnswer(messageBoxAnswers, answer);
  return answer;
}

void TScriptedBackend::ShowMessage(const std::string& text) {
  shown.push_back({"ShowMessage", text, Application.Title, MB_OK});
}

TModalResult TScriptedBackend::MessageDlg(const TMessageDialog& dialog) {
  shown.push_back({"MessageDlg", dialog.text, dialog.caption, static_cast<unsigned>(dialog.type)});
  TModalResult answer = ModalResultOf(dialog.escapeButton);
  PopAnswer(messageDlgAnswers, answer);
  return answer;
}

bool TScriptedBackend::ExecuteOpenDialog(TOpenDialog& dialog) {
  shown.push_back({"OpenDialog", dialog.fileName, dialog.filter, 0});
  openDialogsSeen.push_back(dialog);
  std::string answer;
  PopAnswer(openDialogAnswers, answer);
  if (answer.empty()) return false;
  dialog.fileName = answer;
  return true;
}

// The text recorded for a form is its first label's caption.
TModalResult TScriptedBackend::ShowModalForm(TModalForm& form) {
  shown.push_back(
      {"Form", form.labels.empty() ? std::string() : form.labels.front().caption, form.caption, 0});
  FormAnswer answer;
  answer.close = CloseBox;
  if (PopAnswer(formAnswers, answer) && !form.edits.empty()) {
    TEditSpec& edit = form.edits.front();
    edit.text = answer.typed;
    if (edit.maxLength > 0) edit.text = FirstCharacters(edit.text, static_cast<std::size_t>(edit.maxLength));
  }
  formsSeen.push_back(form);
  if (answer.close != ClickOk && answer.close != PressEnter) return mrCancel;
  for (const TBitBtnSpec& button : form.buttons)
    if (button.kind == bkOK) {
      if (button.onClick) button.onClick();
      break;
    }
  return mrOk;
}

void TScriptedBackend::ProcessMessages() {
  ++processMessagesCalls;
  if (onProcessMessages) onProcessMessages();
}

// Busy requests nest, as the real cursor's do.
void TScriptedBackend::SetBusyCursor(bool busy) {
  if (busy)
    ++FBusyDepth;
  else if (FBusyDepth > 0)
    --FBusyDepth;
  busyCursor = FBusyDepth > 0;
}
void* TScriptedBackend::MainWindowHandle() {
  return nullptr;
}
