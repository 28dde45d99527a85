#include "classlib/wx/WxMessageBox.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/cursor.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

int ShowButtonBox(const std::string& text, const std::string& caption, const wxArtID& icon,
                  const std::vector<TBoxButton>& buttons, int defaultResult, int escapeResult) {
  wxDialog box(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxID_ANY, wxString::FromUTF8(caption),
               wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  if (!icon.empty())
    top->Add(new wxStaticBitmap(&box, wxID_ANY, wxArtProvider::GetBitmap(icon, wxART_MESSAGE_BOX)), 0,
             wxALL | wxALIGN_TOP, 12);
  top->Add(new wxStaticText(&box, wxID_ANY, wxString::FromUTF8(text)), 1, wxALL | wxALIGN_CENTER_VERTICAL,
           12);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  for (const TBoxButton& b : buttons) {
    auto* button = new wxButton(&box, b.result, b.caption);
    const int result = b.result;
    button->Bind(wxEVT_BUTTON, [&box, result](wxCommandEvent&) { box.EndModal(result); });
    if (b.result == defaultResult) {
      button->SetDefault();
      button->SetFocus();
    }
    row->Add(button, 0, wxALL, 4);
  }
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(top, 1, wxEXPAND);
  all->Add(row, 0, wxALIGN_CENTER | wxBOTTOM, 8);
  box.SetSizerAndFit(all);
  box.SetEscapeId(escapeResult);
  box.SetAffirmativeId(defaultResult);
  box.CentreOnScreen();
  const wxBusyCursorSuspender pointer;  // a question wants the ordinary pointer
  const int result = box.ShowModal();
  return result == wxID_CANCEL && escapeResult != wxID_CANCEL ? escapeResult : result;
}
