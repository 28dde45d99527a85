#pragma once
// How far an issue being opened has come, from the archive component's progress events, for the
// window's progress display: shown only once the opening has taken longer than a moment.
#include <chrono>
#include <cstdint>
#include <string>

#include "zip/ZipComp.h"

class TMainFormView;

class TOpeningProgress {
 public:
  // Listens to the component's progress events until destroyed, when the display goes too.
  TOpeningProgress(TZipComponent& zip, TMainFormView& view, std::string issueName);
  ~TOpeningProgress();
  TOpeningProgress(const TOpeningProgress&) = delete;
  TOpeningProgress& operator=(const TOpeningProgress&) = delete;

  // "File 3 of 40, 1.2 of 9.8 MB" for what has been seen so far.
  std::string Text() const;

 private:
  void Event(ProgressType type, std::int32_t number);
  void Refresh();

  TZipComponent& FZip;
  TMainFormView& FView;
  std::string FIssueName;
  std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point FLastRefresh;
  bool FShown = false;
  std::int64_t FFiles = 0, FFileCount = 0;
  std::int64_t FBytes = 0, FByteCount = 0;
};
