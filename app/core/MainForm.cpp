#include <pwd.h>
#include <unistd.h>

#include "app/core/BackgroundIndex.h"
#include "app/core/Main.h"
#include "app/core/ReaderMemory.h"
#include "app/core/SearchResults.h"
#include "app/core/StateFolder.h"
#include "app/core/WorkingFolder.h"
#include "platform/Folders.h"

namespace {
// The user's home folder stands in for the root of the system drive.
std::string HomeFolder() {
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/";
}
}  // namespace

TMainForm::TMainForm(TMainFormView& view)
    : TComponent(nullptr),
      FView(view),
      FIssuePage("index.htm"),
      FMemory(std::make_unique<TReaderMemory>(StateFolder())),
      FIndex(std::make_unique<TBackgroundIndex>()) {
  Name = "MainForm";
  FZipComponent1 = new TZipComponent(this);
  FZipComponent1->Name = "ZipComponent1";
  ApplyStoredZipComponent1(*FZipComponent1);
  // The last part of a spanned set opens the set: offered after the issue files.
  OpenDialog1.filter = "Korvex File (*.kvx)|*.kvx|Last part of a spanned issue (*.zip)|*.zip";
  OpenDialog1.filterIndex = 1;
  OpenDialog1.initialDir = HomeFolder();
  OpenDialog1.hideReadOnly = true;
  OpenDialog1.resizable = true;
  OpenDialog1.fileMustExist = false;
  FHistory.OnNavigate = [this](const std::string& address) {
    FView.SetAddressText(address);
    GoToAddress();
  };
  FView.WebBrowser1().OnBeforeNavigate2 = [this](const std::string& url) { WebBrowser1BeforeNavigate2(url); };
}

TMainForm::~TMainForm() {
  FView.WebBrowser1().OnBeforeNavigate2 = nullptr;
}

void TMainForm::FormCreate() {
  FHistory.ClearPending();
  RefillTempPath();
  CreateDirectoryA(WorkingFolder().c_str(), nullptr);
  CleanupRequest.wFunc = FO_DELETE;
  CleanupRequest.fFlags = FOF_NOCONFIRMATION;
  FZipComponent1->SetExtrBaseDir(WorkingFolder());
  FZipComponent1->SetRootDir(WorkingFolder());
  FZipComponent1->SetTempDir(TempPath());
  FHistory.Create();
  WriteStartPage(WorkingFile("hhhome.htm"));
  FView.SetAddressText(WorkingFile("hhhome.htm"));
  GoToAddress();
}

bool TMainForm::FormCloseQuery() {
  if (FHoldCount == 0) return true;
  CancelOpening();
  FZipComponent1->SetCancelRequested(true);
  FCloseWanted = true;
  return false;
}

void TMainForm::FormClose() {
  FMemory->Leave(ShownAddress(), FView.PageZoom());
  FIndex->Cancel();
  RemoveWorkingFolder();
  FHistory.Release();
}

void TMainForm::GoToAddress() {
  FView.WebBrowser1().Navigate(FView.AddressText());
}

void TMainForm::WebBrowser1BeforeNavigate2(const std::string& url) {
  // A page opened from the results page finds the words in itself.
  if (FResults && OnFindOnPage && ShownAddress() == WorkingFile(SearchPageName))
    if (const TSearchResult* result = FResults->ResultFor(WorkingFileName(url)))
      OnFindOnPage(result->firstHit);
  FHistory.BeforeNavigate(url);
}

std::string TMainForm::ShownAddress() const {
  const int index = FHistory.Index();
  return index >= 0 && index < FHistory.Count() ? FHistory.Entry(index) : std::string();
}

void TMainForm::SpeedButton2Click() {
  FHistory.Back();
}

void TMainForm::SpeedButton3Click() {
  FHistory.Forward();
}

void TMainForm::ReloadCurrentEntry() {
  FHistory.Reload();
}
