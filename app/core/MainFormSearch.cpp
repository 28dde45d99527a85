// The search across the issue on screen, from the Vai menu.
#include <optional>
#include <string>

#include "app/core/BackgroundIndex.h"
#include "app/core/IssueNames.h"
#include "app/core/Main.h"
#include "app/core/SearchPage.h"
#include "app/core/SearchResults.h"
#include "app/core/SearchWordsBox.h"
#include "app/core/WorkingFolder.h"
#include "classlib/Backend.h"

void TMainForm::SearchIssueClick() {
  if (IssueNames().Serial() == 0) {
    Backend().ShowMessage("Open an issue first: the search looks through the issue on screen.");
    return;
  }
  HoldWindow([this] {
    const std::optional<std::string> words = AskSearchWords(FResults ? FResults->query : std::string());
    if (!words || FCloseWanted) return;
    const unsigned serial = IssueNames().Serial();
    const auto index = FIndex->Index(serial);
    if (!index) {
      const TBackgroundIndex::TProgress progress = FIndex->Progress(serial);
      Backend().ShowMessage("The issue is still being read for the search (" + std::to_string(progress.read) +
                            " of " + std::to_string(progress.total) + " pages): try again in a moment.");
      return;
    }
    FResults = std::make_unique<TSearchResults>(SearchIssue(*index, WorkingFolder(), *words));
    RefillTempPath();
    WriteSearchPage(WorkingFile(SearchPageName), *FResults);
    FView.SetAddressText(WorkingFile(SearchPageName));
    GoToAddress();
  });
}
