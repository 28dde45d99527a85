#include "app/gtk/FindBox.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include <utility>

namespace {
constexpr int TypedChars = 24;  // shown in the text field at once
const char* const NotFoundText = "Not found";

void OnFoundText(WebKitFindController*, guint, gpointer box) {
  static_cast<TFindBox*>(box)->Found(true);
}

void OnFailedToFindText(WebKitFindController*, gpointer box) {
  static_cast<TFindBox*>(box)->Found(false);
}
}  // namespace

TFindBox::TFindBox(wxWindow& frame, TWebBrowser& browser)
    : wxDialog(&frame, wxID_ANY, "Find", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX,
               "FindBox"),
      FFrame(frame),
      FPageWindow(*browser.Control()),
      FView(WEBKIT_WEB_VIEW(g_object_ref(browser.Page().Engine()))),
      FFinder(WEBKIT_FIND_CONTROLLER(g_object_ref(webkit_web_view_get_find_controller(FView)))) {
  // Sized by the text they hold, in whatever font the desktop gives them.
  FText = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
  FText->SetMinSize(FText->GetSizeFromTextSize(FText->GetTextExtent(wxString('n', TypedChars))));
  auto* previous = new wxButton(this, wxID_ANY, "Previous");
  auto* next = new wxButton(this, wxID_ANY, "Next");
  FStatus = new wxStaticText(this, wxID_ANY, wxString());
  FStatus->SetMinSize(wxSize(FStatus->GetTextExtent(NotFoundText).x, -1));
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
  FLoads = browser.Page().WatchLoads([this](const std::string&) {
    FNewPage = true;
    if (FNextPageText.empty()) return;
    FText->ChangeValue(std::exchange(FNextPageText, wxString()));
    Place();
    Show();
    Search(false);
  });
  g_signal_connect(FFinder, "found-text", G_CALLBACK(OnFoundText), this);
  g_signal_connect(FFinder, "failed-to-find-text", G_CALLBACK(OnFailedToFindText), this);
}

TFindBox::~TFindBox() {
  g_signal_handlers_disconnect_by_data(FFinder, this);
  // Gone already when the view was destroyed before this box.
  if (g_signal_handler_is_connected(FView, FLoads)) g_signal_handler_disconnect(FView, FLoads);
  g_object_unref(FFinder);
  g_object_unref(FView);
}

void TFindBox::Place() {
  // Over the top right corner of the page view.
  const wxRect page = FPageWindow.GetScreenRect();
  SetPosition(wxPoint(page.GetRight() - GetSize().x, page.GetTop()));
}

void TFindBox::Open() {
  Place();
  Show();
  Raise();
  FText->SetFocus();
  FText->SelectAll();
}

void TFindBox::FindOnNextPage(const wxString& text) {
  FNextPageText = text;
}

void TFindBox::Search(bool backwards) {
  const wxString text = FText->GetValue();
  if (text.empty()) {
    webkit_find_controller_search_finish(FFinder);
    FSearched.clear();
    FStatus->SetLabel(wxString());
    return;
  }
  if (FNewPage || text != FSearched) {
    FNewPage = false;
    FSearched = text;
    guint32 options = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;
    if (backwards) options |= WEBKIT_FIND_OPTIONS_BACKWARDS;
    webkit_find_controller_search_finish(FFinder);
    webkit_find_controller_search(FFinder, text.utf8_str(), options, G_MAXUINT);
  } else if (backwards) {
    webkit_find_controller_search_previous(FFinder);
  } else {
    webkit_find_controller_search_next(FFinder);
  }
}

void TFindBox::Found(bool found) {
  FStatus->SetLabel(found ? "" : NotFoundText);
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
