#pragma once
// WebBrowser1: the page view the reader owns (TPageView), placed in the window as a native child
// window, behind the browser interface of the form. Files of the working folder load through the
// reader's scheme, and the shell still sees plain paths.
#include <wx/nativewin.h>

#include "app/core/BrowserControl.h"
#include "app/engine/PageView.h"

class TWebBrowser : public TBrowserControl {
 public:
  TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size);
  // A file of the working folder (plain path or file: URI) loads through the reader's scheme; any
  // other plain path becomes a file:// URI; anything else is loaded as given.
  void Navigate(const std::string& url) override;
  // The page view's window among the parent's children.
  wxWindow* Control() const { return FWindow; }
  TPageView& Page() { return FPage; }

 private:
  TPageView FPage;
  wxNativeWindow* FWindow;
};
