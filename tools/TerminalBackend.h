#pragma once
// A class-library backend for the terminal: a message box prints its text to stderr and waits for
// Enter (OK) or "c" (Cancel) on stdin; simple messages print nothing, since the tool's message
// handler prints every report already.
#include "classlib/Backend.h"

class TTerminalBackend : public TBackend {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void ShowMessage(const std::string&) override {}
  TModalResult MessageDlg(const TMessageDialog& dialog) override;
  bool ExecuteOpenDialog(TOpenDialog&) override { return false; }
  TModalResult ShowModalForm(TModalForm&) override { return mrCancel; }
  void ProcessMessages() override {}
  void SetBusyCursor(bool) override {}
  void* MainWindowHandle() override { return nullptr; }
};
