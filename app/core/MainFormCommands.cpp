#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "app/core/ContentsPage.h"
#include "app/core/IssueNames.h"
#include "app/core/Main.h"
#include "app/core/UnpackReport.h"
#include "app/core/WorkingFolder.h"
#include "classlib/Backend.h"
#include "classlib/BusyCursor.h"
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
  if (!fileName.empty()) OpenIssue(fileName);
}

// One issue at a time: an open asked for while one is being unpacked is ignored.
void TMainForm::OpenIssue(const std::string& fileName) {
  if (FUnpacking) return;
  HoldWindow([this, &fileName] {
    FUnpacking = true;
    try {
      UnpackAndShowIssue(fileName);
    } catch (...) {
      FUnpacking = false;
      throw;
    }
    FUnpacking = false;
  });
}

void TMainForm::UnpackAndShowIssue(std::string fileName) {
  if (fileName.empty()) {
    if (!Backend().ExecuteOpenDialog(OpenDialog1) || FCloseWanted) return;
    fileName = OpenDialog1.fileName;
  }
  RefillTempPath();
  std::string problems;
  std::string shownPage = WorkingFile("index.htm");
  {
    const TBusyCursor busy;
    const TUnpackReport report(*FZipComponent1);
    FZipComponent1->SetZipFileName(fileName);
    if (FCloseWanted) return;  // Extract would clear the cancel that the close asked for
    // The folder holds one issue at a time, else an earlier issue's files would stand in for this
    // one's missing pages and pictures. An issue that could not be read leaves the folder as it is.
    if (report.Listed() && !InsideWorkingFolder(fileName)) EmptyWorkingFolder();
    // A directory that could not be read was reported by List; Extract would only add a second
    // box saying that no archive is named.
    if (FZipComponent1->HasDirectory()) FZipComponent1->Extract();
    if (FCloseWanted) return;
    problems = report.Text();
    if (report.Listed() && !report.HasIndex()) {
      std::vector<std::string> pages;
      for (const std::string& page : report.TopPages())
        if (FileExists(WorkingFile(page))) pages.push_back(page);
      shownPage = WorkingFile(ContentsPageName);
      WriteContentsPage(shownPage, ExtractFileName(fileName), pages);
    }
  }
  if (!problems.empty()) Backend().ShowMessage(problems);
  std::vector<std::string> names;
  for (const auto& entry : FZipComponent1->ListResults().DirEntries) names.push_back(entry->FileName);
  IssueNames().NewIssue(names);
  if (FCloseWanted) return;
  if (OnIssueOpening) OnIssueOpening();
  FView.SetAddressText(shownPage);
  GoToAddress();
}

void TMainForm::ShowIndexOrAsk() {
  RefillTempPath();
  // index.htm in any case, as the engine finds it.
  const std::string index = IssueNames().Resolve(WorkingFolder(), "index.htm");
  if (!index.empty() && FileExists(index)) {
    FView.SetAddressText(WorkingFile("index.htm"));
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
