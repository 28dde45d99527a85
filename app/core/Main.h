#pragma once
// TMainForm: the main window's state and handlers. The toolkit's frame (MainFrame.h) lays out
// the window and calls these handlers; tests drive them through a fake view.
#include <functional>
#include <string>

#include "app/core/BrowserControl.h"
#include "app/core/History.h"
#include "classlib/Component.h"
#include "classlib/Dialogs.h"
#include "zip/ZipComp.h"

// The window around the handlers.
class TMainFormView {
 public:
  virtual ~TMainFormView() = default;
  virtual std::string AddressText() = 0;  // the hidden slot URLs
  virtual void SetAddressText(const std::string& text) = 0;
  virtual TBrowserControl& WebBrowser1() = 0;
  virtual void ShowAboutBox() = 0;     // makes it visible; nothing when it already is
  virtual void CloseMainWindow() = 0;  // asks the window to close, as its close box does
};

class TMainForm : public TComponent {
 public:
  explicit TMainForm(TMainFormView& view);
  ~TMainForm() override;

  // Start-up and shutdown.
  void FormCreate();
  // Whether the window may close now. While a command waits for the user or unpacks an issue, the
  // close becomes a cancel of the unpacking and is carried out once the command has returned.
  bool FormCloseQuery();
  void FormClose();

  // Navigation and history.
  void GoToAddress();
  void WebBrowser1BeforeNavigate2(const std::string& url);
  void SpeedButton2Click();   // Back
  void SpeedButton3Click();   // Forward
  void ReloadCurrentEntry();  // the current history entry again, recording nothing

  // Commands.
  void Apri1Click();
  void Indice1Click();
  void SpeedButton1Click();  // INDEX
  void SpeedButton4Click();  // WEB: the links page
  void Exit1Click();
  void Informazioni1Click();
  // The open-issue step for a file chosen without the open dialog (a file dropped on the window).
  void OpenIssueFile(const std::string& fileName);
  // Fired by each open-issue step just before the issue's index is shown.
  std::function<void()> OnIssueOpening;

  TZipComponent& ZipComponent1() { return *FZipComponent1; }
  const TBrowsingHistory& History() const { return FHistory; }
  TOpenDialog OpenDialog1;

 private:
  void HoldWindow(const std::function<void()>& command);
  void OpenIssueStep();
  // The open-issue step; an empty file name asks for one in the open dialog.
  void OpenIssue(const std::string& fileName);
  void UnpackAndShowIssue(std::string fileName);
  void ShowIndexOrAsk();

  TMainFormView& FView;
  TZipComponent* FZipComponent1;  // owned as a component: freed with the form
  TBrowsingHistory FHistory;
  int FHoldCount = 0;       // commands running held (HoldWindow)
  bool FUnpacking = false;  // inside the open-issue step
  bool FCloseWanted = false;
};

// The generated pages, written line by line with CR LF; the first failed step raises EInOutError.
void WriteStartPage(const std::string& fileName);
void WriteLinksPage(const std::string& fileName);
extern const char* const PublisherAddress;
