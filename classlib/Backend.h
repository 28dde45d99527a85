#pragma once
// What a backend of the class library does. One backend is installed for the whole process.
#include <string>

#include "classlib/Dialogs.h"

class TBackend {
 public:
  virtual ~TBackend() = default;
  // The platform message box (MessageBoxA): returns IDOK, IDCANCEL, ... or 0 when it can't show.
  virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
  // The simple modal message box: application title as caption, one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual TModalResult MessageDlg(const TMessageDialog& dialog) = 0;
  // True when the user picked a file; dialog.fileName then holds its full path.
  virtual bool ExecuteOpenDialog(TOpenDialog& dialog) = 0;
  // Shows the form modally; returns how it was closed. Edits hold the typed text afterwards.
  virtual TModalResult ShowModalForm(TModalForm& form) = 0;
  virtual void ProcessMessages() = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void* MainWindowHandle() = 0;
};

TBackend& Backend();
// Installs a backend; the caller keeps ownership. nullptr leaves a backend that shows nothing,
// answers Cancel and never blocks.
void SetBackend(TBackend* backend);
// The modal result a message-dialog button closes with.
TModalResult ModalResultOf(TMsgDlgBtn button);

// Installs a backend for its lifetime and puts the one before back afterwards, also when the
// scope is left by an exception.
class TBackendScope {
 public:
  explicit TBackendScope(TBackend& backend);
  ~TBackendScope();
  TBackendScope(const TBackendScope&) = delete;
  TBackendScope& operator=(const TBackendScope&) = delete;

 private:
  TBackend* FPrevious;
};
