#pragma once
// What went wrong while an issue was unpacked, gathered from the archive component's events and
// told to the user in one box: how many files could not be unpacked and the first reason, and an
// issue without index.htm at its top.
#include <string>
#include <vector>

#include "classlib/Backend.h"
#include "zip/ZipComp.h"

// Passes everything to the backend that was installed before it and counts the message boxes
// really shown meanwhile; puts that backend back when destroyed.
class TShownBoxCount : public TBackend {
 public:
  TShownBoxCount();
  ~TShownBoxCount() override;
  TShownBoxCount(const TShownBoxCount&) = delete;
  TShownBoxCount& operator=(const TShownBoxCount&) = delete;
  int Count() const { return FCount; }

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
  int FCount = 0;
};

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
  // Whether List read the directory of an archive that is there.
  bool Listed() const;
  // Whether the directory holds index.htm, in any case, at its top.
  bool HasIndex() const;
  // The entries at the top of the directory that are pages (.htm, .html), in directory order.
  std::vector<std::string> TopPages() const;

 private:
  void Skipped(UnZipSkipTypes reason);
  void Message(std::int32_t code, const std::string& text);

  TZipComponent& FZip;
  int FSkipped = 0;
  std::string FFirstReason;
  std::string FLibraryError;  // the library's first error message
  TShownBoxCount FBoxes;      // the component's own boxes
};

// The words for a reason the library gives for skipping a file.
std::string SkipReasonText(UnZipSkipTypes reason);
