#include "app/FindBox.h"

#include <wx/button.h>
#include <wx/sizer.h>

TFindBox::TFindBox(wxWindow& frame, wxWebView& view)
    : wxDialog(&frame, wxID_ANY, "Find", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX,
               "FindBox"),
      FFrame(frame),
      FView(view) {
  FText = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(180, -1), wxTE_PROCESS_ENTER);
  auto* previous = new wxButton(this, wxID_ANY, "Previous");
  auto* next = new wxButton(this, wxID_ANY, "Next");
  FStatus = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(80, -1));
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(FText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
  row->Add(previous, 0, wxALIGN_CENTER_VERTICAL | wxTOP | wxBOTTOM, 4);
  row->Add(next, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
  row->Add(FStatus, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  SetSizerAndFit(row);
  previous->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Search(true); });
  next->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Search(false); });
  FText->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { Search(false); });
  Bind(wxEVT_CHAR_HOOK, &TFindBox::OnBoxKey, this);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Hide(); });
  frame.Bind(wxEVT_CHAR_HOOK, &TFindBox::OnFrameKey, this);
  view.Bind(wxEVT_WEBVIEW_LOADED, [this](wxWebViewEvent& event) {
    FNewPage = true;
    event.Skip();
  });
}

void TFindBox::Open() {
  // Over the top right corner of the page view.
  const wxRect page = FView.GetScreenRect();
  SetPosition(wxPoint(page.GetRight() - GetSize().x, page.GetTop()));
  Show();
  Raise();
  FText->SetFocus();
  FText->SelectAll();
}

void TFindBox::Search(bool backwards) {
  const wxString text = FText->GetValue();
  if (text.empty()) {
    FStatus->SetLabel(wxString());
    return;
  }
  int flags = wxWEBVIEW_FIND_WRAP | wxWEBVIEW_FIND_HIGHLIGHT_RESULT;
  if (backwards) flags |= wxWEBVIEW_FIND_BACKWARDS;
  // The view counts the matches when the text changes and then steps through them, carrying on
  // with the same text even on a new page: a changed case flag makes it count afresh.
  if (FNewPage) FView.Find(text, flags ^ wxWEBVIEW_FIND_MATCH_CASE);
  const bool counting = FNewPage || text != FSearched;
  FNewPage = false;
  FSearched = text;
  const long result = FView.Find(text, flags);
  if (counting) FMatches = result;
  FStatus->SetLabel(FMatches > 0 ? "" : "Not found");
}

bool TFindBox::SearchKey(const wxKeyEvent& event) {
  if (event.GetKeyCode() != WXK_F3 || (event.GetModifiers() & ~wxMOD_SHIFT) != 0) return false;
  if (!IsShown()) Open();
  if (!FText->IsEmpty()) Search(event.ShiftDown());
  return true;
}

void TFindBox::OnFrameKey(wxKeyEvent& event) {
  if (event.GetModifiers() == wxMOD_CONTROL && event.GetKeyCode() == 'F')
    Open();
  else if (!SearchKey(event))
    event.Skip();
}

void TFindBox::OnBoxKey(wxKeyEvent& event) {
  const bool enter = event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER;
  if (enter && (event.GetModifiers() & ~wxMOD_SHIFT) == 0)
    Search(event.ShiftDown());
  else if (event.GetKeyCode() == WXK_ESCAPE)
    Hide();
  else if (!SearchKey(event))
    event.Skip();
}
