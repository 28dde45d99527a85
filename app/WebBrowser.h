#pragma once
// WebBrowser1: the page view, a wxWebView (WebKit) behind the browser interface of the form.
#include <wx/webview.h>

#include "app/BrowserControl.h"

class TWebBrowser : public TBrowserControl {
 public:
  TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size);
  // A plain file path becomes a file:// URI before loading; anything else is loaded as given.
  void Navigate(const std::string& url) override;
  wxWebView* Control() const { return FView; }

  // The address the history sees: the plain path for a local file URI, else the URI itself.
  static std::string ReportedAddress(const wxString& uri);
  static wxString LoadableAddress(const std::string& url);
  // Whether a page's request for a new window goes to the desktop's web browser: web addresses
  // only, so a page cannot make the desktop open local files.
  static bool OpensInWebBrowser(const wxString& url);
  // Whether a file URI names something inside the folder ("..", query and fragment considered).
  static bool InsideFolder(const wxString& url, const std::string& folder);

 private:
  void OnNavigating(wxWebViewEvent& event);
  void OnNewWindow(wxWebViewEvent& event);

  wxWebView* FView;
};
