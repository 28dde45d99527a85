#pragma once
// The class library's backend on wxWidgets: real message boxes, dialogs and forms.
#include <chrono>

#include "classlib/Backend.h"

class TWxBackend : public TBackend {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void ShowMessage(const std::string& text) override;
  TModalResult MessageDlg(const TMessageDialog& dialog) override;
  bool ExecuteOpenDialog(TOpenDialog& dialog) override;
  TModalResult ShowModalForm(TModalForm& form) override;
  void ProcessMessages() override;
  void SetBusyCursor(bool busy) override;
  void* MainWindowHandle() override;

  static constexpr std::chrono::milliseconds MessageTimeSlice{20};

 private:
  std::chrono::steady_clock::time_point FLastPass{};
};
