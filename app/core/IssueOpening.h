#pragma once
// Opening an issue, one phase after another: choose the file, list its directory, unpack it beside
// the issue on screen, report what went wrong, show it. The issue on screen, its files and its
// history stay as they are until the new one has something to show. A cancel (the user's, or a
// close of the window) is looked at between the phases and stops the unpacking in the middle.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "zip/ZipComp.h"

class TMainFormView;

class TIssueOpening {
 public:
  enum class TPhase { Choose, List, Unpack, Report, Show, Done };
  enum class TOutcome {
    Shown,          // the new issue took the working folder's place and its first page is shown
    NotChosen,      // the open dialog was cancelled
    NotRead,        // the component could not read the directory, and said why
    NothingToShow,  // nothing of it could be unpacked; the box said why
    Cancelled,      // stopped by the user or by a close
  };

  // show: the new issue is in place; its page (a path in the working folder) is to be shown.
  TIssueOpening(TZipComponent& zip, TOpenDialog& dialog, TMainFormView& view,
                std::function<void(const std::string& page)> show);
  ~TIssueOpening();  // removes the archive salvaged from a cut file
  TIssueOpening(const TIssueOpening&) = delete;
  TIssueOpening& operator=(const TIssueOpening&) = delete;
  // fileName "" asks for one in the open dialog.
  TOutcome Run(const std::string& fileName);
  void Cancel();
  TPhase Phase() const { return FPhase; }
  // The file being opened, once chosen.
  const std::string& FileName() const { return FFileName; }
  // Its pages that were unpacked, relative to its folder, once reported.
  const std::vector<std::string>& Pages() const { return FPages; }

 private:
  // Each phase gives the opening's outcome when it ends the opening there.
  std::optional<TOutcome> Choose();
  std::optional<TOutcome> List();
  std::optional<TOutcome> Unpack();
  std::optional<TOutcome> Report();
  std::optional<TOutcome> Show();
  // Removes what was unpacked of the new issue.
  void Discard();

  TZipComponent& FZip;
  TOpenDialog& FDialog;
  TMainFormView& FView;
  std::function<void(const std::string&)> FShow;
  TPhase FPhase = TPhase::Choose;
  bool FCancelled = false;
  std::string FFileName;
  std::string FSalvaged;            // what a cut file still holds, when the user asked for it
  std::vector<std::string> FNames;  // the directory's entries
  std::vector<std::string> FPages;  // its pages that were unpacked
  std::string FPage;                // the page to show, relative to the folder
  std::string FProblems;            // what the box tells
  bool FToldByComponent = false;    // the unpacking failed, and the component said so
};
