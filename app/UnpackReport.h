#pragma once
// What went wrong while an issue was unpacked, gathered from the archive component's events and
// told to the user in one box: how many files could not be unpacked and the first reason, and an
// issue without index.htm at its top.
#include <string>

#include "zip/ZipComp.h"

class TUnpackReport {
 public:
  // Listens to the component's events until destroyed.
  explicit TUnpackReport(TZipComponent& zip);
  ~TUnpackReport();
  TUnpackReport(const TUnpackReport&) = delete;
  TUnpackReport& operator=(const TUnpackReport&) = delete;

  // The text of the box after List and Extract; "" when the issue came out whole or its directory
  // could not be read. A failure the component has shown in its own box is not told again.
  std::string Text() const;

 private:
  void Skipped(UnZipSkipTypes reason);
  void Message(std::int32_t code, const std::string& text);

  TZipComponent& FZip;
  int FSkipped = 0;
  std::string FFirstReason;
  std::string FLibraryError;  // the library's first error message
  bool FComponentReported = false;
};

// The words for a reason the library gives for skipping a file.
std::string SkipReasonText(UnZipSkipTypes reason);
