#pragma once
// TMainForm: the main window's state and handlers. The toolkit's frame (MainFrame.h) lays out
// the window and calls these handlers; tests drive them through a fake view.
#include <cstddef>
#include <functional>
#include <memory>
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
  // The page view's zoom factor (1 is actual size).
  virtual double PageZoom() { return 1.0; }
  virtual void SetPageZoom(double /*factor*/) {}
};

class TBackgroundIndex;
class TIssueOpening;
class TReaderMemory;
class TRecentIssues;
struct TSearchResults;

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

  // The issues opened last, as the File menu lists them.
  const TRecentIssues& RecentIssues() const;
  // Opens the recent issue numbered 1..8; one that is no longer there leaves the list, told.
  void OpenRecentIssue(std::size_t number);
  void ClearRecentIssues();
  // Fired whenever the list of recent issues has changed.
  std::function<void()> OnRecentIssuesChanged;

  // Asks for words and shows the results page: the pages of the issue that hold them.
  void SearchIssueClick();
  // Fired when a page is opened from the results page, with the first word found as the page
  // writes it, for the page's own find.
  std::function<void(const std::string& text)> OnFindOnPage;

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
  // The address on screen, as the history holds it; "" before the first.
  std::string ShownAddress() const;
  // Where the issue's reading resumes: its kept page when it is still there, else page.
  std::string ResumedPage(const std::string& page);

  TMainFormView& FView;
  TZipComponent* FZipComponent1;  // owned as a component: freed with the form
  TBrowsingHistory FHistory;
  int FHoldCount = 0;                 // commands running held (HoldWindow)
  TIssueOpening* FOpening = nullptr;  // the opening under way
  std::string FWaitingIssue;          // given during an opening, opened after it
  std::string FIssuePage;             // where INDEX goes: the issue's first page
  bool FCloseWanted = false;
  std::unique_ptr<TReaderMemory> FMemory;
  std::unique_ptr<TBackgroundIndex> FIndex;  // the search index of the issue on screen
  std::unique_ptr<TSearchResults> FResults;  // of the last search, for the pages opened from it
};

// The generated pages, written line by line with CR LF; the first failed step raises EInOutError.
void WriteStartPage(const std::string& fileName);
void WriteLinksPage(const std::string& fileName);
extern const char* const PublisherAddress;
