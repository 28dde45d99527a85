#pragma once
// What went wrong while an issue was unpacked, gathered from the archive component's events, and
// what of it the user must still be told: the component shows its own failures in boxes of its
// own, the library's reach the reader only as events.
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Backend.h"
#include "zip/ZipComp.h"

// Passes everything to the backend that was installed before it and keeps the texts of the message
// boxes really shown meanwhile; puts that backend back when destroyed.
class TShownBoxes : public TBackend {
 public:
  TShownBoxes();
  ~TShownBoxes() override;
  TShownBoxes(const TShownBoxes&) = delete;
  TShownBoxes& operator=(const TShownBoxes&) = delete;
  bool Showed(const std::string& text) const;

  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
  void ShowMessage(const std::string& text) override;
  TModalResult MessageDlg(const TMessageDialog& dialog) override { return FOuter.MessageDlg(dialog); }
  bool ExecuteOpenDialog(TOpenDialog& dialog) override { return FOuter.ExecuteOpenDialog(dialog); }
  TModalResult ShowModalForm(TModalForm& form) override { return FOuter.ShowModalForm(form); }
  void ProcessMessages() override { FOuter.ProcessMessages(); }
  void SetBusyCursor(bool busy) override { FOuter.SetBusyCursor(busy); }
  void* MainWindowHandle() override { return FOuter.MainWindowHandle(); }

 private:
  TBackend& FOuter;
  std::vector<std::string> FTexts;
};

class TUnpackReport {
 public:
  // Listens to the component's events until destroyed; made just before Extract.
  explicit TUnpackReport(TZipComponent& zip);
  ~TUnpackReport();
  TUnpackReport(const TUnpackReport&) = delete;
  TUnpackReport& operator=(const TUnpackReport&) = delete;

  // What the user must still be told: how many files could not be unpacked and the first reason,
  // a library that failed as a whole, a failure of the component that no box showed; "" when the
  // issue came out whole or the component told its failure itself.
  std::string Text() const;
  // Whether the user stopped the unpacking at a prompt of the component (a disk asked for).
  bool StoppedByUser() const { return FStoppedByUser; }
  // Whether the component showed its own box for a failure, which then needs no other word.
  bool ToldByComponent() const;

 private:
  void Skipped(UnZipSkipTypes reason);
  void Message(std::int32_t code, const std::string& text);

  TZipComponent& FZip;
  int FSkipped = 0;
  std::string FFirstReason;
  std::string FLibraryError;    // the library's first error message
  std::string FComponentError;  // the component's first report of a failure
  bool FStoppedByUser = false;
  TShownBoxes FBoxes;
};

// The words for a reason the library gives for skipping a file.
std::string SkipReasonText(UnZipSkipTypes reason);
