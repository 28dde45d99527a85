#include "app/gtk/Unit1.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "app/gtk/Artwork.h"

namespace {
wxFont SansSerif(int pixels, bool bold) {
  wxFontInfo info(wxSize(0, pixels));
  info.FaceName("MS Sans Serif").Bold(bold);
  return wxFont(info);
}

// A box of the main window's: above it, with nothing to maximise or resize.
constexpr long AboutBoxStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_FLOAT_ON_PARENT;
}  // namespace

TInformazioni::TInformazioni(wxWindow* owner)
    : wxFrame(owner, wxID_ANY, "Informazioni", wxDefaultPosition, wxSize(290, 179), AboutBoxStyle,
              "Informazioni") {
  SetSize(FromDIP(wxSize(290, 179)));
  auto* panel = new wxPanel(this);
  panel->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  panel->SetFont(SansSerif(11, false));
  const auto place = [this](int left, int top) { return FromDIP(wxPoint(left, top)); };
  const auto size = [this](int width, int height) { return FromDIP(wxSize(width, height)); };
  auto* button1 =
      new wxButton(panel, wxID_OK, "OK", place(200, 120), size(65, 25), 0, wxDefaultValidator, "Button1");
  auto* label1 =
      new wxStaticText(panel, wxID_ANY, "Korvex Folivo", place(72, 16), size(135, 20), 0, "Label1");
  label1->SetFont(SansSerif(16, true));
  auto* label2 = new wxStaticText(panel, wxID_ANY, "v 1.0", place(120, 40), size(39, 20), 0, "Label2");
  label2->SetFont(SansSerif(16, true));
  auto* label3 =
      new wxStaticText(panel, wxID_ANY, "di Marta Venier", place(88, 64), size(99, 16), 0, "Label3");
  label3->SetFont(SansSerif(13, false));
  new wxStaticLine(panel, wxID_ANY, place(8, 104), size(265, 2), wxLI_HORIZONTAL, "Bevel1");
  SetIcon([] {
    wxIcon icon;
    icon.CopyFromBitmap(LoadIcon());
    return icon;
  }());
  button1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button1Click(); });
  Bind(wxEVT_CLOSE_WINDOW, &TInformazioni::OnClose, this);
}

void TInformazioni::Button1Click() {
  Hide();
}

void TInformazioni::OnClose(wxCloseEvent& event) {
  if (!event.CanVeto()) {
    event.Skip();
    return;
  }
  event.Veto();
  Hide();
}
