// ShowModalForm: builds a real dialog from a form described in code.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "classlib/wx/WxBackend.h"

namespace {
wxFont FontOf(const TFormFont& spec) {
  wxFontInfo info(wxSize(0, spec.height < 0 ? -spec.height : spec.height));
  if (!spec.name.empty()) info.FaceName(wxString::FromUTF8(spec.name));
  info.Bold(spec.bold);
  return wxFont(info);
}
}  // namespace

TModalResult TWxBackend::ShowModalForm(TModalForm& form) {
  const long style = form.dialogBorder ? wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX : wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER;
  wxDialog dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxID_ANY, wxString::FromUTF8(form.caption),
                  wxDefaultPosition, wxSize(form.width, form.height), style);
  dialog.SetFont(FontOf(form.font));
  for (const TLabelSpec& label : form.labels)
    new wxStaticText(&dialog, wxID_ANY, wxString::FromUTF8(label.caption), wxPoint(label.left, label.top),
                     wxSize(label.width, label.height));
  std::vector<wxTextCtrl*> edits;
  for (const TEditSpec& edit : form.edits) {
    auto* control = new wxTextCtrl(&dialog, wxID_ANY, wxString::FromUTF8(edit.text), wxPoint(edit.left, edit.top),
                                   wxSize(edit.width, -1), edit.passwordChar ? wxTE_PASSWORD : 0);
    if (edit.maxLength > 0) control->SetMaxLength(static_cast<unsigned long>(edit.maxLength));
    edits.push_back(control);
  }
  for (const TBitBtnSpec& spec : form.buttons) {
    const int id = spec.kind == bkOK ? wxID_OK : spec.kind == bkCancel ? wxID_CANCEL : wxID_ANY;
    auto* button = new wxButton(&dialog, id, wxString::FromUTF8(spec.caption), wxPoint(spec.left, spec.top),
                                wxSize(spec.width, spec.height));
    const auto onClick = spec.onClick;
    button->Bind(wxEVT_BUTTON, [&dialog, onClick, id](wxCommandEvent&) {
      if (onClick) onClick();
      if (id != wxID_ANY) dialog.EndModal(id);
    });
    if (spec.kind == bkOK) button->SetDefault();
  }
  dialog.SetEscapeId(wxID_CANCEL);
  if (!edits.empty()) edits.front()->SetFocus();
  if (form.screenCenter) dialog.CentreOnScreen();
  const int result = dialog.ShowModal();
  for (std::size_t i = 0; i < edits.size(); ++i) form.edits[i].text = edits[i]->GetValue().utf8_string();
  return result == wxID_OK ? mrOk : mrCancel;
}
