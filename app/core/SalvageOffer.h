#pragma once
// While an issue's directory is read, the box that says the archive is not valid asks whether to
// show what the file still holds: an issue whose download was cut short keeps the entries that
// arrived whole. Every other box passes as it is.
#include <string>

#include "app/core/UnpackReport.h"
#include "zip/ZipComp.h"

class TSalvageOffer : public TShownBoxes {
 public:
  explicit TSalvageOffer(const TZipComponent& zip);
  // Whether the user asked to see what the file holds.
  bool Accepted() const { return FAccepted; }

  void ShowMessage(const std::string& text) override;

 private:
  std::string FNotValidText;
  bool FAccepted = false;
};
