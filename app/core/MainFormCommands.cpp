#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/core/BackgroundIndex.h"
#include "app/core/DroppedIssue.h"
#include "app/core/IssueNames.h"
#include "app/core/IssueOpening.h"
#include "app/core/Main.h"
#include "app/core/ReaderMemory.h"
#include "app/core/SearchResults.h"
#include "app/core/WorkingFolder.h"
#include "classlib/Backend.h"
#include "platform/Folders.h"

// Commands that wait in a modal loop or let messages through run held: a close asked for meanwhile
// is carried out once the outermost of them has returned, so nothing they use is freed under them.
void TMainForm::HoldWindow(const std::function<void()>& command) {
  ++FHoldCount;
  std::exception_ptr failure;
  try {
    command();
  } catch (...) {
    failure = std::current_exception();
  }
  if (--FHoldCount == 0 && FCloseWanted) {
    FCloseWanted = false;
    FView.CloseMainWindow();
    return;
  }
  if (failure) std::rethrow_exception(failure);
}

void TMainForm::OpenIssueStep() {
  OpenIssue(std::string());
}

void TMainForm::OpenIssueFile(const std::string& fileName) {
  if (fileName.empty()) return;
  const std::string problem = IssueFileProblem(fileName);
  if (!problem.empty())
    Backend().ShowMessage(fileName + " cannot be opened: " + problem + ".");
  else
    OpenIssue(fileName);
}

void TMainForm::CancelOpening() {
  if (FOpening) FOpening->Cancel();
}

// One issue at a time: the open dialog asked for during an opening is refused, a file given then
// waits for it.
void TMainForm::OpenIssue(const std::string& fileName) {
  if (FOpening) {
    if (!fileName.empty())
      FWaitingIssue = fileName;
    else
      Backend().ShowMessage("An issue is being opened: wait for it, or cancel it, before opening another.");
    return;
  }
  HoldWindow([this, fileName] {
    for (std::string next = fileName;;) {
      TIssueOpening opening(*FZipComponent1, OpenDialog1, FView,
                            [this](const std::string& page) { ShowNewIssue(page); });
      FOpening = &opening;
      try {
        opening.Run(next);
      } catch (...) {
        FOpening = nullptr;
        throw;
      }
      FOpening = nullptr;
      next = std::exchange(FWaitingIssue, std::string());
      if (next.empty() || FCloseWanted) return;
    }
  });
}

// Back and Forward never lead to pages of an issue that is gone. An issue read before goes on
// where it was left, at its zoom; INDEX still leads to its first page.
void TMainForm::ShowNewIssue(const std::string& page) {
  FMemory->Leave(ShownAddress(), FView.PageZoom());
  FIssuePage = WorkingFileName(page);
  FResults.reset();
  const std::optional<TKeptPlace> kept = FMemory->IssueShown(FOpening->FileName(), *FZipComponent1);
  if (OnRecentIssuesChanged) OnRecentIssuesChanged();
  FHistory.ClearPending();
  FHistory.Create();
  if (OnIssueOpening) OnIssueOpening();
  const std::string keptPage = kept ? IssueNames().Resolve(WorkingFolder(), kept->page) : std::string();
  if (!keptPage.empty() && FileExists(keptPage)) {
    FView.SetPageZoom(kept->zoom);
    FView.SetAddressText(WorkingFile(kept->page));
  } else {
    FView.SetAddressText(page);
  }
  GoToAddress();
  FIndex->Start(IssueNames().Serial(), WorkingFolder(), FOpening->Pages());
}

void TMainForm::ShowIndexOrAsk() {
  RefillTempPath();
  // The issue's first page in any case, as the engine finds it.
  const std::string page = IssueNames().Resolve(WorkingFolder(), FIssuePage);
  if (!page.empty() && FileExists(page)) {
    FView.SetAddressText(WorkingFile(FIssuePage));
    GoToAddress();
    return;
  }
  HoldWindow([this] {
    TMessageDialog question;
    question.text = "Aprire un numero di Korvex?";
    question.caption = "Confirm";
    question.type = mtConfirmation;
    question.buttons = {mbYes, mbNo};
    question.defaultButton = mbYes;
    question.escapeButton = mbNo;
    if (Backend().MessageDlg(question) == mrYes && !FCloseWanted) OpenIssueStep();
  });
}

void TMainForm::Apri1Click() {
  OpenIssueStep();
}

void TMainForm::Indice1Click() {
  ShowIndexOrAsk();
}

void TMainForm::SpeedButton1Click() {
  ShowIndexOrAsk();
}

void TMainForm::SpeedButton4Click() {
  RefillTempPath();
  WriteLinksPage(WorkingFile("kvxlnkk.htm"));
  FView.SetAddressText(WorkingFile("kvxlnkk.htm"));
  GoToAddress();
}

void TMainForm::Exit1Click() {
  FView.CloseMainWindow();
}

void TMainForm::Informazioni1Click() {
  FView.ShowAboutBox();
}

const TRecentIssues& TMainForm::RecentIssues() const {
  return FMemory->Recent();
}

void TMainForm::OpenRecentIssue(std::size_t number) {
  const TRecentChoice choice = FMemory->Recent().Choose(number);
  if (OnRecentIssuesChanged) OnRecentIssuesChanged();
  if (!choice.message.empty()) Backend().ShowMessage(choice.message);
  if (!choice.path.empty()) OpenIssueFile(choice.path);
}

void TMainForm::ClearRecentIssues() {
  FMemory->Recent().Clear();
  if (OnRecentIssuesChanged) OnRecentIssuesChanged();
}
