#pragma once
// Follows an extraction through the component's events: the entries the unzip library started and
// which of them failed, and whether its run came to an end. With --test it prints a line for each
// entry that failed and a summary.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/KvxTool.h"

class TZipComponent;

class TExtractWatch {
 public:
  // Hooks the component's events; the session's message handler must be in place already.
  TExtractWatch(TZipComponent& zip, ToolSession& session, bool test);
  TExtractWatch(const TExtractWatch&) = delete;
  TExtractWatch& operator=(const TExtractWatch&) = delete;

  // After Extract: reports each pattern that selected no entry; true when there was one. Nothing
  // is said when the library's run did not come to its end.
  bool ReportUnmatched(const std::vector<std::string>& patterns) const;
  // After Extract with --test: "N entries tested, ..." on stdout when the run came to its end.
  void PrintTestSummary() const;

 private:
  void Start(const std::string& name);
  void EndEntry();
  bool RunEnded() const { return FBatchesEnded >= FBatchesExpected; }

  ToolSession& FSession;
  bool FTest;
  // A spanned set is joined first, and the join's progress comes through the same event.
  int FBatchesExpected;
  int FBatchesEnded = 0;
  std::int32_t FSelected = -1;
  std::vector<std::string> FStarted;  // as shown, "/" between folders
  bool FCurrentFailed = false;
  std::int32_t FFailed = 0;
};
