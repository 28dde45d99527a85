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
  // The display of an issue being opened, shown once the opening takes a while; its Cancel calls
  // the form's CancelOpening.
  virtual void ShowOpeningProgress(const std::string& /*issueName*/) {}
  virtual void UpdateOpeningProgress(const std::string& /*text*/, int /*percent*/) {}
  virtual void HideOpeningProgress() {}
};

class TIssueOpening;

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
  // The open-issue step for a file given without the open dialog (dropped on the window, handed
  // over by a later start, named on the command line). A file that is no issue is told; one given
  // while another issue is being opened is opened after it.
  void OpenIssueFile(const std::string& fileName);
  // Stops the opening under way; the issue on screen stays.
  void CancelOpening();
  bool Opening() const { return FOpening != nullptr; }
  // Fired just before a newly opened issue's first page is shown.
  std::function<void()> OnIssueOpening;

  TZipComponent& ZipComponent1() { return *FZipComponent1; }
  const TBrowsingHistory& History() const { return FHistory; }
  TOpenDialog OpenDialog1;

 private:
  void HoldWindow(const std::function<void()>& command);
  void OpenIssueStep();
  // The open-issue step; an empty file name asks for one in the open dialog.
  void OpenIssue(const std::string& fileName);
  // The new issue is in place: its history starts with its first page.
  void ShowNewIssue(const std::string& page);
  void ShowIndexOrAsk();

  TMainFormView& FView;
  TZipComponent* FZipComponent1;  // owned as a component: freed with the form
  TBrowsingHistory FHistory;
  int FHoldCount = 0;                 // commands running held (HoldWindow)
  TIssueOpening* FOpening = nullptr;  // the opening under way
  std::string FWaitingIssue;          // given during an opening, opened after it
  std::string FIssuePage;             // where INDEX goes: the issue's first page
  bool FCloseWanted = false;
};

// The generated pages, written line by line with CR LF; the first failed step raises EInOutError.
void WriteStartPage(const std::string& fileName);
void WriteLinksPage(const std::string& fileName);
extern const char* const PublisherAddress;
