// The extraction as the tool sees it through the component's events.
#include "tools/ExtractWatch.h"

#include <algorithm>
#include <cstdio>

#include "platform/Wildcard.h"
#include "tools/SafeText.h"
#include "zip/ZipComp.h"

TExtractWatch::TExtractWatch(TZipComponent& zip, ToolSession& session, bool test)
    : FSession(session), FTest(test), FBatchesExpected(zip.Volume().LastVolume() != 0 ? 2 : 1) {
  zip.OnProgress = [this](TObject*, ProgressType type, const std::string& name, std::int32_t number) {
    if (type == ptFileCount) {
      FCurrentFailed = false;
      FSelected = number;
      FStarted.clear();
      FFailed = 0;
    } else if (type == ptFileStart) {
      EndEntry();
      Start(name);
    } else if (type == ptBatchEnd) {
      EndEntry();
      // The join's count and names say nothing about what the library selects.
      if (++FBatchesEnded < FBatchesExpected) FSelected = -1;
    }
  };
  auto print = zip.OnMessage;
  zip.OnMessage = [this, print](TObject* sender, std::int32_t errCode, const std::string& message) {
    print(sender, errCode, message);
    if (errCode != 0) FCurrentFailed = true;  // the library's errors are about the entry in hand
  };
  // A skip with an error code is a failure; one without (an existing file kept, an entry not
  // freshened) is what the options asked for. Tested entries get their own report line.
  zip.OnExtractSkipped = [this](TObject*, const std::string& forFile, UnZipSkipTypes, std::int32_t extError) {
    if (extError == 0) return;
    FCurrentFailed = true;
    FSession.ErrorReported = true;
    if (!FTest)
      std::fprintf(stderr, "kvxtool: %d: skipped %s\n", static_cast<int>(extError),
                   TerminalText(ShownName(forFile)).c_str());
  };
}

void TExtractWatch::Start(const std::string& name) {
  FStarted.push_back(ShownName(name));
  FCurrentFailed = false;
}

void TExtractWatch::EndEntry() {
  if (FCurrentFailed && !FStarted.empty()) {
    ++FFailed;
    if (FTest) std::printf("failed: %s\n", TerminalText(FStarted.back()).c_str());
  }
  FCurrentFailed = false;
}

bool TExtractWatch::ReportUnmatched(const std::vector<std::string>& patterns) const {
  if (!RunEnded() || FSelected < 0) return false;
  bool any = false;
  for (const std::string& pattern : patterns) {
    // One pattern is judged by the library's own count; several by the names it started, which
    // the callback record cuts at 511 bytes. The library reads a backslash in a pattern as "/".
    const std::string wanted = ShownName(pattern);
    const bool unmatched =
        FSelected == 0 ||
        (patterns.size() > 1 && std::none_of(FStarted.begin(), FStarted.end(), [&](const std::string& name) {
           return MatchesSpec(name, wanted);
         }));
    if (!unmatched) continue;
    std::fprintf(stderr, "kvxtool: no entry matches %s\n", TerminalText(pattern).c_str());
    any = true;
  }
  return any;
}

void TExtractWatch::PrintTestSummary() const {
  if (!RunEnded() || FSelected < 0) return;
  const std::size_t tested = FStarted.size();
  std::printf("%zu %s tested, ", tested, tested == 1 ? "entry" : "entries");
  if (FFailed == 0)
    std::printf("no errors\n");
  else
    std::printf("%d failed\n", static_cast<int>(FFailed));
}
