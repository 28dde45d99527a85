#include "app/core/SalvageOffer.h"

#include "zip/ZipMsg.h"

TSalvageOffer::TSalvageOffer(const TZipComponent& zip)
    : FNotValidText(zip.LoadMessageText(MessageId::NotAValidArchive, "")) {}

void TSalvageOffer::ShowMessage(const std::string& text) {
  if (FNotValidText.empty() || text.compare(0, FNotValidText.size(), FNotValidText) != 0)
    return TShownBoxes::ShowMessage(text);
  TMessageDialog question;
  question.text = text +
                  "\n\nAn issue cut short while it was downloaded still holds the pages that arrived whole. "
                  "Show what it holds?";
  question.caption = "Confirm";
  question.type = mtConfirmation;
  question.buttons = {mbYes, mbNo};
  question.defaultButton = mbNo;
  question.escapeButton = mbNo;
  FAccepted = MessageDlg(question) == mrYes;
}
