// ShowModalForm: builds a real dialog from a form described in code.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/cursor.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "classlib/wx/WxBackend.h"

namespace {
wxFont FontOf(const TFormFont& item) {
  wxFontInfo info(wxSize(0, item.height < 0 ? -item.height : item.height));
  if (!item.name.empty()) info.FaceName(wxString::FromUTF8(item.name));
  info.Bold(item.bold);
  return wxFont(info);
}
}  // namespace

TModalResult TWxBackend::ShowModalForm(TModalForm& form) {
  const long style =
      form.dialogBorder ? wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX : wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER;
  wxDialog dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxID_ANY, wxString::FromUTF8(form.caption),
                  wxDefaultPosition, wxSize(form.width, form.height), style);
  dialog.SetFont(FontOf(form.font));
  for (const TLabelSpec& label : form.labels)
    new wxStaticText(&dialog, wxID_ANY, wxString::FromUTF8(label.caption), wxPoint(label.left, label.top),
                     wxSize(label.width, label.height));
  std::vector<wxTextCtrl*> edits;
  for (const TEditSpec& edit : form.edits) {
    auto* control =
        new wxTextCtrl(&dialog, wxID_ANY, wxString::FromUTF8(edit.text), wxPoint(edit.left, edit.top),
                       wxSize(edit.width, -1), edit.passwordChar ? wxTE_PASSWORD : 0);
    if (edit.maxLength > 0) control->SetMaxLength(static_cast<unsigned long>(edit.maxLength));
    edits.push_back(control);
  }
  for (const TBitBtnSpec& item : form.buttons) {
    const int id = item.kind == bkOK ? wxID_OK : item.kind == bkCancel ? wxID_CANCEL : wxID_ANY;
    auto* button = new wxButton(&dialog, id, wxString::FromUTF8(item.caption), wxPoint(item.left, item.top),
                                wxSize(item.width, item.height));
    const auto onClick = item.onClick;
    button->Bind(wxEVT_BUTTON, [&dialog, onClick, id](wxCommandEvent&) {
      if (onClick) onClick();
      if (id != wxID_ANY) dialog.EndModal(id);
    });
    if (item.kind == bkOK) button->SetDefault();
  }
  dialog.SetEscapeId(wxID_CANCEL);
  if (!edits.empty()) edits.front()->SetFocus();
  if (form.screenCenter) dialog.CentreOnScreen();
  const wxBusyCursorSuspender pointer;  // a question wants the ordinary pointer
  const int result = dialog.ShowModal();
  for (std::size_t i = 0; i < edits.size(); ++i) form.edits[i].text = edits[i]->GetValue().utf8_string();
  return result == wxID_OK ? mrOk : mrCancel;
}
