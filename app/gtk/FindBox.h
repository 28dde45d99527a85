#pragma once
// Find in page: a small modeless box over the window. Case is ignored and the search wraps;
// Enter and F3 find the next match, Shift+Enter and Shift+F3 the previous one, Escape closes it.
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/gtk/WebBrowser.h"

class TFindBox : public wxDialog {
 public:
  TFindBox(wxWindow& frame, TWebBrowser& browser);
  ~TFindBox() override;
  void Open();  // Ctrl+F: shows the box with its text selected
  // Once the next page has loaded, finds the text in it and shows the box with it; the keys stay
  // with the page.
  void FindOnNextPage(const wxString& text);
  // Searches the page for the box's text, a new text from the page's first match on; "Not found"
  // shows in the box when it is not there.
  void Search(bool backwards);
  // The engine's answer to the last search.
  void Found(bool found);
  wxTextCtrl* Text() const { return FText; }
  wxString Status() const { return FStatus->GetLabel(); }

 private:
  void Place();  // over the page view's top right corner
  void OnFrameKey(wxKeyEvent& event);
  void OnBoxKey(wxKeyEvent& event);
  // Both windows: F3 and Shift+F3. True when the key was one of them.
  bool SearchKey(const wxKeyEvent& event);

  wxWindow& FFrame;
  wxWindow& FPageWindow;
  wxTextCtrl* FText;
  wxStaticText* FStatus;
  bool FNewPage = false;   // a page came since the last search: start it anew
  wxString FSearched;      // the text of the last search
  wxString FNextPageText;  // to find once the next page has loaded
  WebKitWebView* FView;    // held, since the view may go before this box does
  WebKitFindController* FFinder;
  unsigned long FLoads;  // a page loaded: the next search starts on it anew
};
