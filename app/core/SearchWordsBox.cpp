#include "app/core/SearchWordsBox.h"

#include "classlib/Backend.h"
#include "classlib/Dialogs.h"

std::optional<std::string> AskSearchWords(const std::string& last) {
  TModalForm form;
  form.caption = "Cerca nel numero";
  form.width = 344;
  form.height = 137;
  form.font = TFormFont{"", -12, false};
  form.labels.push_back(TLabelSpec{20, 8, 297, 18, "Parole da cercare in tutte le pagine:"});
  form.edits.push_back(TEditSpec{20, 40, 297, 0, 200, last});
  form.buttons.push_back(TBitBtnSpec{44, 72, 90, 28, bkOK, "Cerca", {}});
  form.buttons.push_back(TBitBtnSpec{205, 72, 90, 28, bkCancel, "Annulla", {}});
  if (Backend().ShowModalForm(form) != mrOk) return std::nullopt;
  return form.edits[0].text;
}
