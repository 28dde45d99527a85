#pragma once
// The window's display of an issue being opened: its name, how far the unpacking has come, and a
// Cancel that stops it and leaves the issue on screen as it was. Modeless, over the main window.
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

#include <functional>
#include <string>

class TOpeningProgressBox : public wxDialog {
 public:
  TOpeningProgressBox(wxWindow* owner, std::function<void()> onCancel);
  void Begin(const std::string& issueName);
  void Progress(const std::string& text, int percent);

 private:
  void Cancel();

  std::function<void()> FOnCancel;
  wxStaticText* FIssue;
  wxGauge* FGauge;
  wxStaticText* FText;
};
