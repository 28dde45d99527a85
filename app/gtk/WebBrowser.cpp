#include "app/gtk/WebBrowser.h"

#include "app/engine/PageAddress.h"
#include "classlib/Backend.h"

TWebBrowser::TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size) {
  FWindow = new wxNativeWindow(parent, wxID_ANY, FPage.Widget());
  FWindow->SetName("WebBrowser1");
  FWindow->SetSize(wxRect(position, size));
  FPage.OnVisit = [this](const std::string& uri) {
    if (OnBeforeNavigate2) OnBeforeNavigate2(ReportedAddress(uri));
  };
  FPage.TellNotOpened([](const std::string& uri) {
    Backend().ShowMessage("No program of the desktop could open " + uri + ".");
  });
}

void TWebBrowser::Navigate(const std::string& url) {
  FPage.Load(LoadableAddress(url));
}
