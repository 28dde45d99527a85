#include "app/gtk/OpeningProgressBox.h"

#include <wx/button.h>
#include <wx/sizer.h>

TOpeningProgressBox::TOpeningProgressBox(wxWindow* owner, std::function<void()> onCancel)
    : wxDialog(owner, wxID_ANY, "Opening an issue", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX,
               "OpeningProgress"),
      FOnCancel(std::move(onCancel)) {
  FIssue = new wxStaticText(this, wxID_ANY, wxString());
  FGauge = new wxGauge(this, wxID_ANY, 100, wxDefaultPosition, wxSize(320, -1));
  FText = new wxStaticText(this, wxID_ANY, wxString());
  auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(FIssue, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  column->Add(FGauge, 0, wxEXPAND | wxALL, 10);
  column->Add(FText, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
  column->Add(cancel, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizer(column);
  cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Cancel(); });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Cancel(); });
}

void TOpeningProgressBox::Begin(const std::string& issueName) {
  FIssue->SetLabel(wxString::FromUTF8(issueName));
  FText->SetLabel(wxString());
  FGauge->SetValue(0);
  GetSizer()->Fit(this);
  CentreOnParent();
  Show();
}

void TOpeningProgressBox::Progress(const std::string& text, int percent) {
  FText->SetLabel(wxString::FromUTF8(text));
  FGauge->SetValue(percent);
  GetSizer()->Fit(this);
}

void TOpeningProgressBox::Cancel() {
  FText->SetLabel("Cancelling...");
  if (FOnCancel) FOnCancel();
}
