#include "app/WebBrowser.h"

#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/utils.h>

TWebBrowser::TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size) {
  FView = wxWebView::New(parent, wxID_ANY, wxString(), position, size, wxWebViewBackendDefault, wxBORDER_NONE,
                         "WebBrowser1");
  FView->EnableContextMenu(false);
  FView->Bind(wxEVT_WEBVIEW_NAVIGATING, &TWebBrowser::OnNavigating, this);
  FView->Bind(wxEVT_WEBVIEW_NEWWINDOW, &TWebBrowser::OnNewWindow, this);
}

wxString TWebBrowser::LoadableAddress(const std::string& url) {
  const wxString address = wxString::FromUTF8(url);
  if (address.StartsWith("/")) return wxFileSystem::FileNameToURL(wxFileName(address));
  return address;
}

std::string TWebBrowser::ReportedAddress(const wxString& uri) {
  if (uri.Lower().StartsWith("file:") && !uri.Contains("#") && !uri.Contains("?"))
    return wxFileSystem::URLToFileName(uri).GetFullPath().utf8_string();
  return uri.utf8_string();
}

void TWebBrowser::Navigate(const std::string& url) {
  FView->LoadURL(LoadableAddress(url));
}

void TWebBrowser::OnNavigating(wxWebViewEvent& event) {
  if (OnBeforeNavigate2) OnBeforeNavigate2(ReportedAddress(event.GetURL()));
}

bool TWebBrowser::OpensInWebBrowser(const wxString& url) {
  const wxString lower = url.Lower();
  return lower.StartsWith("http://") || lower.StartsWith("https://");
}

void TWebBrowser::OnNewWindow(wxWebViewEvent& event) {
  if (OpensInWebBrowser(event.GetURL())) wxLaunchDefaultBrowser(event.GetURL());
}
