#pragma once
// A backend for tests: answers from a script, records what was shown, never blocks.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Backend.h"

class TScriptedBackend : public TBackend {
 public:
  struct Shown {
    std::string kind;  // "MessageBox", "ShowMessage", "MessageDlg", "OpenDialog", "Form"
    std::string text;
    std::string caption;
    unsigned style = 0;
  };
  // How a scripted form is closed: typed text, then OK button, Enter, Cancel button, Esc or close box.
  enum FormClose { ClickOk, PressEnter, ClickCancel, PressEscape, CloseBox };
  struct FormAnswer {
    std::string typed;
    FormClose close = ClickOk;
  };

  std::vector<Shown> shown;
  std::deque<int> messageBoxAnswers;           // default IDOK
  std::deque<TModalResult> messageDlgAnswers;  // default: the dialog's escape button
  std::deque<std::string> openDialogAnswers;   // "" = cancel; default cancel
  std::deque<FormAnswer> formAnswers;          // default: closed by the close box
  std::vector<TOpenDialog> openDialogsSeen;
  std::vector<TModalForm> formsSeen;
  int processMessagesCalls = 0;
  bool busyCursor = false;
  // Runs inside the named interaction before it answers (to swap a disk, close a window, ...).
  std::function<void()> onMessageBox, onProcessMessages;

  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void ShowMessage(const std::string& text) override;
  TModalResult MessageDlg(const TMessageDialog& dialog) override;
  bool ExecuteOpenDialog(TOpenDialog& dialog) override;
  TModalResult ShowModalForm(TModalForm& form) override;
  void ProcessMessages() override;
  void SetBusyCursor(bool busy) override;
  void* MainWindowHandle() override;

 private:
  int FBusyDepth = 0;
};
