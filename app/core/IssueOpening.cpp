#include "app/core/IssueOpening.h"

#include <optional>

#include "app/core/ContentsPage.h"
#include "app/core/IssueNames.h"
#include "app/core/Main.h"
#include "app/core/OpeningProgress.h"
#include "app/core/SalvageOffer.h"
#include "app/core/UnpackReport.h"
#include "app/core/UnpackedIssue.h"
#include "app/core/WorkingFolder.h"
#include "classlib/Backend.h"
#include "classlib/BusyCursor.h"
#include "platform/FolderExchange.h"
#include "platform/Folders.h"

namespace {
void AddParagraph(std::string& text, const std::string& paragraph) {
  if (paragraph.empty()) return;
  if (!text.empty()) text += "\n\n";
  text += paragraph;
}

std::string LeftOutText(const std::vector<std::string>& names) {
  if (names.empty()) return "";
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i)
    list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return names.size() == 1
             ? list + " of this issue was left out: the reader keeps that name for a page of its own."
             : list + " of this issue were left out: the reader keeps those names for pages of its own.";
}

// The component unpacks into the unpacking folder, made anew, and the library runs with it as the
// current folder. Afterwards the component's folder is the working folder again and the program's
// current folder is where it was, unless that was a folder of issues, which go away.
class TUnpackingFolderInUse {
 public:
  explicit TUnpackingFolderInUse(TZipComponent& zip) : FZip(zip), FCurrent(GetCurrentDir()) {
    if (FCurrent.empty() || InsideWorkingFolder(FCurrent + "/")) FCurrent = TempPath();
    RemoveFolderTree(UnpackingFolder());
    CreateDirectoryA(UnpackingFolder().c_str(), nullptr);
    FZip.SetExtrBaseDir(UnpackingFolder());
  }
  ~TUnpackingFolderInUse() {
    FZip.SetExtrBaseDir(WorkingFolder());
    SetCurrentDirectoryA(FCurrent.c_str());
  }
  TUnpackingFolderInUse(const TUnpackingFolderInUse&) = delete;
  TUnpackingFolderInUse& operator=(const TUnpackingFolderInUse&) = delete;

 private:
  TZipComponent& FZip;
  std::string FCurrent;
};
}  // namespace

TIssueOpening::TIssueOpening(TZipComponent& zip, TOpenDialog& dialog, TMainFormView& view,
                             std::function<void(const std::string& page)> show)
    : FZip(zip), FDialog(dialog), FView(view), FShow(std::move(show)) {}

void TIssueOpening::Cancel() {
  FCancelled = true;
  FZip.SetCancelRequested(true);
}

TIssueOpening::TOutcome TIssueOpening::Run(const std::string& fileName) {
  using TStep = std::optional<TOutcome> (TIssueOpening::*)();
  const std::pair<TPhase, TStep> phases[] = {{TPhase::Choose, &TIssueOpening::Choose},
                                             {TPhase::List, &TIssueOpening::List},
                                             {TPhase::Unpack, &TIssueOpening::Unpack},
                                             {TPhase::Report, &TIssueOpening::Report},
                                             {TPhase::Show, &TIssueOpening::Show}};
  FFileName = fileName;
  try {
    for (const auto& [phase, step] : phases) {
      if (FCancelled) {
        Discard();
        return TOutcome::Cancelled;
      }
      FPhase = phase;
      if (const std::optional<TOutcome> outcome = (this->*step)()) {
        FPhase = TPhase::Done;
        return *outcome;
      }
    }
  } catch (...) {
    Discard();
    FPhase = TPhase::Done;
    throw;
  }
  FPhase = TPhase::Done;
  return TOutcome::Shown;
}

std::optional<TIssueOpening::TOutcome> TIssueOpening::Choose() {
  if (FFileName.empty()) {
    if (!Backend().ExecuteOpenDialog(FDialog)) return TOutcome::NotChosen;
    FFileName = FDialog.fileName;
  }
  RefillTempPath();
  // Its folder makes way for the issue it holds.
  if (InsideWorkingFolder(FFileName)) {
    Backend().ShowMessage(FFileName +
                          " lies in the reader's working folder, which holds only the issue on screen: copy "
                          "it elsewhere to open it.");
    return TOutcome::NotRead;
  }
  return std::nullopt;
}

std::optional<TIssueOpening::TOutcome> TIssueOpening::List() {
  const TBusyCursor busy;
  bool salvage = false;
  {
    const TSalvageOffer offer(FZip);
    FZip.SetZipFileName(FFileName);
    if (FZip.HasDirectory()) return std::nullopt;
    salvage = offer.Accepted();
  }
  // List said why it could not read the file; when the user asks, the entries that arrived whole
  // are copied into an archive of their own, which Salvage's report describes.
  if (!salvage || FZip.Salvage(FFileName, FSalvaged) != 0) return TOutcome::NotRead;
  FZip.SetZipFileName(FSalvaged);
  if (!FZip.HasDirectory()) return TOutcome::NotRead;
  return std::nullopt;
}

std::optional<TIssueOpening::TOutcome> TIssueOpening::Unpack() {
  const TUnpackingFolderInUse folder(FZip);
  const TBusyCursor busy;
  const TOpeningProgress progress(FZip, FView, ExtractFileName(FFileName));
  const TUnpackReport report(FZip);
  FZip.Extract();
  FProblems = report.Text();
  FToldByComponent = report.ToldByComponent();
  // A disk the user would not give stops the opening as Cancel does.
  if (report.StoppedByUser()) FCancelled = true;
  return std::nullopt;
}

std::optional<TIssueOpening::TOutcome> TIssueOpening::Report() {
  for (const auto& entry : FZip.ListResults().DirEntries) FNames.push_back(entry->FileName);
  AddParagraph(FProblems, LeftOutText(RemoveReaderPageNames(UnpackingFolder())));
  if (!ListsIndex(FNames))
    AddParagraph(FProblems, "This issue has no index.htm at its top: its first page cannot be shown.");
  FPages = UnpackedPages(UnpackingFolder(), FNames);
  FPage = UnpackedIndex(UnpackingFolder(), FNames);
  if (FPage.empty() && !FPages.empty()) FPage = ContentsPageName;
  if (!FPage.empty()) return std::nullopt;
  Discard();
  // A failure the component showed in a box of its own needs no other word.
  if (FToldByComponent) return TOutcome::NothingToShow;
  AddParagraph(FProblems, ListedPages(FNames).empty()
                              ? "It holds no page to show: the issue on screen stays."
                              : "None of its pages could be unpacked: the issue on screen stays.");
  Backend().ShowMessage(FProblems);
  return TOutcome::NothingToShow;
}

std::optional<TIssueOpening::TOutcome> TIssueOpening::Show() {
  const std::string unpacked = UnpackingFolder();
  WriteStartPage(unpacked + PathDelim + StartPageName);
  if (FPage == ContentsPageName)
    WriteContentsPage(unpacked + PathDelim + ContentsPageName, ExtractFileName(FFileName), FPages);
  CreateDirectoryA(WorkingFolder().c_str(), nullptr);
  if (!ExchangeFolders(WorkingFolder(), unpacked)) {
    Discard();
    Backend().ShowMessage("The issue could not take the place of the one on screen, which stays.");
    return TOutcome::NothingToShow;
  }
  RemoveFolderTree(unpacked);  // the issue that was on screen
  IssueNames().NewIssue(FNames);
  FShow(WorkingFile(FPage));
  if (!FProblems.empty()) Backend().ShowMessage(FProblems);
  return std::nullopt;
}

TIssueOpening::~TIssueOpening() {
  if (!FSalvaged.empty()) DeleteFileA(FSalvaged.c_str());
}

void TIssueOpening::Discard() {
  if (FPhase == TPhase::Unpack || FPhase == TPhase::Report || FPhase == TPhase::Show)
    RemoveFolderTree(UnpackingFolder());
}
