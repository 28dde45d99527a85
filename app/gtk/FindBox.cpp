#include "app/gtk/FindBox.h"

#include <webkit2/webkit2.h>
#include <wx/button.h>
#include <wx/sizer.h>

namespace {
void OnFoundText(WebKitFindController*, guint, gpointer box) {
  static_cast<TFindBox*>(box)->Found(true);
}

void OnFailedToFindText(WebKitFindController*, gpointer box) {
  static_cast<TFindBox*>(box)->Found(false);
}
}  // namespace

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
  // The engine's own search: the view's wrapper steps past the first match of a new text.
  // Held, since the view may go before this box does.
  FFinder = g_object_ref(webkit_web_view_get_find_controller(WEBKIT_WEB_VIEW(view.GetNativeBackend())));
  g_signal_connect(FFinder, "found-text", G_CALLBACK(OnFoundText), this);
  g_signal_connect(FFinder, "failed-to-find-text", G_CALLBACK(OnFailedToFindText), this);
}

TFindBox::~TFindBox() {
  g_signal_handlers_disconnect_by_data(FFinder, this);
  g_object_unref(FFinder);
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
  auto* finder = static_cast<WebKitFindController*>(FFinder);
  const wxString text = FText->GetValue();
  if (text.empty()) {
    webkit_find_controller_search_finish(finder);
    FSearched.clear();
    FStatus->SetLabel(wxString());
    return;
  }
  if (FNewPage || text != FSearched) {
    FNewPage = false;
    FSearched = text;
    guint32 options = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;
    if (backwards) options |= WEBKIT_FIND_OPTIONS_BACKWARDS;
    webkit_find_controller_search_finish(finder);
    webkit_find_controller_search(finder, text.utf8_str(), options, G_MAXUINT);
  } else if (backwards) {
    webkit_find_controller_search_previous(finder);
  } else {
    webkit_find_controller_search_next(finder);
  }
}

void TFindBox::Found(bool found) {
  FStatus->SetLabel(found ? "" : "Not found");
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
