#include "classlib/Backend.h"

namespace {

// Shows nothing and never blocks: every question is answered as if cancelled.
class TNullBackend : public TBackend {
 public:
  int MessageBox(const std::string&, const std::string&, unsigned style) override {
    switch (style & 0x0F) {
      case MB_OK:
        return IDOK;
      case MB_YESNO:
        return IDNO;
      default:
        return IDCANCEL;
    }
  }
  void ShowMessage(const std::string&) override {}
  TModalResult MessageDlg(const TMessageDialog& dialog) override {
    return ModalResultOf(dialog.escapeButton);
  }
  bool ExecuteOpenDialog(TOpenDialog&) override { return false; }
  TModalResult ShowModalForm(TModalForm&) override { return mrCancel; }
  void ProcessMessages() override {}
  void SetBusyCursor(bool) override {}
  void* MainWindowHandle() override { return nullptr; }
};

TNullBackend nullBackend;
TBackend* installed = nullptr;

}  // namespace

TBackend& Backend() {
  return installed != nullptr ? *installed : nullBackend;
}
void SetBackend(TBackend* backend) {
  installed = backend;
}

TBackendScope::TBackendScope(TBackend& backend) : FPrevious(installed) {
  SetBackend(&backend);
}

TBackendScope::~TBackendScope() {
  SetBackend(FPrevious);
}

TModalResult ModalResultOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
  }
  return mrNone;
}
