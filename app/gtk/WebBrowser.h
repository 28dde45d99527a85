#pragma once
// WebBrowser1: the page view, a wxWebView (WebKit) behind the browser interface of the form. Its
// engine view runs on the reader's own context (PageEngine.h): files of the working folder load
// through the reader's scheme, and the shell still sees plain paths.
#include <wx/webview.h>

#include "app/core/BrowserControl.h"

class TWebBrowser : public TBrowserControl {
 public:
  // Throws when the engine view is not the reader's: the window never shows pages unguarded.
  TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size);
  // A file of the working folder (plain path or file: URI) loads through the reader's scheme; any
  // other plain path becomes a file:// URI; anything else is loaded as given.
  void Navigate(const std::string& url) override;
  wxWebView* Control() const { return FView; }

  // The address the history sees: the plain path for a file of the working folder or a local file
  // URI (the file: URI when a query or fragment follows), else the URI itself.
  static std::string ReportedAddress(const wxString& uri);
  static wxString LoadableAddress(const std::string& url);

 private:
  void OnNavigating(wxWebViewEvent& event);

  wxWebView* FView;
};
