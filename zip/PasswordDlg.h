#pragma once
// TPasswordDlg: the small modal dialog in which the component asks for a password. It is described
// in code as a TModalForm and shown through the class library's backend.
#include <cstdint>
#include <string>

#include "classlib/Dialogs.h"

class TZipComponent;

// The most characters the password box takes.
constexpr int PasswordMaxLength = 80;

class TPasswordDlg {
 public:
  // Builds the dialog and its four controls; the buttons take their texts from the message table.
  TPasswordDlg(TZipComponent* owner, int dummy);
  virtual ~TPasswordDlg() = default;
  TPasswordDlg(const TPasswordDlg&) = delete;
  TPasswordDlg& operator=(const TPasswordDlg&) = delete;

  TBitBtnSpec& OkButton() { return FForm.buttons[0]; }
  TBitBtnSpec& CancelButton() { return FForm.buttons[1]; }
  TEditSpec& PasswordEdit() { return FForm.edits[0]; }
  TLabelSpec& PromptLabel() { return FForm.labels[0]; }
  const TModalForm& Form() const { return FForm; }
  std::uint8_t Accepted = 0;

  virtual void OkButtonClick();
  // Shows the dialog modally; Text gets the typed password when OK closed it, else empty.
  virtual void ShowPrompt(const std::string& caption, const std::string& prompt, std::string& text);

 private:
  TModalForm FForm;
};
