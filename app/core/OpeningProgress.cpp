#include "app/core/OpeningProgress.h"

#include <algorithm>
#include <cstdio>

#include "app/core/Main.h"
#include "classlib/Backend.h"

namespace {
// Openings shorter than this show nothing; longer ones are redrawn at most this often.
constexpr std::chrono::milliseconds ShowAfter{500};
constexpr std::chrono::milliseconds RefreshEvery{100};

std::string Megabytes(std::int64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e6);
  return text;
}
}  // namespace

TOpeningProgress::TOpeningProgress(TZipComponent& zip, TMainFormView& view, std::string issueName)
    : FZip(zip), FView(view), FIssueName(std::move(issueName)) {
  FZip.OnProgress = [this](TObject*, ProgressType type, const std::string&, std::int32_t number) {
    Event(type, number);
  };
}

TOpeningProgress::~TOpeningProgress() {
  FZip.OnProgress = nullptr;
  if (FShown) FView.HideOpeningProgress();
}

std::string TOpeningProgress::Text() const {
  std::string text = "File " + std::to_string(FFiles);
  if (FFileCount > 0) text += " of " + std::to_string(FFileCount);
  if (FByteCount > 0) text += ", " + Megabytes(FBytes) + " of " + Megabytes(FByteCount) + " MB";
  return text;
}

// A spanned set is joined first and then unpacked: each pass starts with its counts.
void TOpeningProgress::Event(ProgressType type, std::int32_t number) {
  switch (type) {
    case ptFileCount:
      FFileCount = number;
      FFiles = 0;
      FBytes = 0;
      break;
    case ptByteCount:
      FByteCount = number;
      break;
    case ptFileStart:
      ++FFiles;
      break;
    case ptWritten:
      FBytes += number;
      break;
    case ptBatchEnd:
      break;
  }
  Refresh();
  // The library lets the window's messages through at each call back; joining a set does not.
  Backend().ProcessMessages();
}

void TOpeningProgress::Refresh() {
  const auto now = std::chrono::steady_clock::now();
  if (now - FStart < ShowAfter || now - FLastRefresh < RefreshEvery) return;
  FLastRefresh = now;
  if (!FShown) {
    FShown = true;
    FView.ShowOpeningProgress(FIssueName);
  }
  const int percent =
      FByteCount > 0 ? static_cast<int>(std::min<std::int64_t>(100, FBytes * 100 / FByteCount)) : 0;
  FView.UpdateOpeningProgress(Text(), percent);
}
