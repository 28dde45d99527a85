#include "app/gtk/WebBrowser.h"

#include <webkit2/webkit2.h>
#include <wx/filename.h>
#include <wx/filesys.h>

#include "app/core/IssueAddress.h"
#include "app/core/IssueNames.h"
#include "app/core/WorkingFolder.h"
#include "app/gtk/PageEngine.h"
#include "app/gtk/UnresponsivePage.h"
#include "classlib/Exceptions.h"

TWebBrowser::TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size) {
  FView = wxWebView::New(parent, wxID_ANY, wxString(), position, size, wxWebViewBackendDefault, wxBORDER_NONE,
                         "WebBrowser1");
  if (!IsReaderPageView(static_cast<WebKitWebView*>(FView->GetNativeBackend())))
    throw Exception("The page viewer cannot be started with its guards");
  FView->EnableContextMenu(false);
  FView->Bind(wxEVT_WEBVIEW_NAVIGATING, &TWebBrowser::OnNavigating, this);
}

wxString TWebBrowser::LoadableAddress(const std::string& url) {
  const std::string issueAddress = EngineAddress(url, WorkingFolder(), IssueNames().Serial());
  if (!issueAddress.empty()) return wxString::FromUTF8(issueAddress);
  const wxString address = wxString::FromUTF8(url);
  if (address.StartsWith("/")) return wxFileSystem::FileNameToURL(wxFileName(address));
  return address;
}

std::string TWebBrowser::ReportedAddress(const wxString& uri) {
  if (uri.Lower().StartsWith(wxString(IssueScheme) + ":"))
    return ShellAddress(uri.utf8_string(), WorkingFolder());
  if (uri.Lower().StartsWith("file:") && !uri.Contains("#") && !uri.Contains("?"))
    return wxFileSystem::URLToFileName(uri).GetFullPath().utf8_string();
  return uri.utf8_string();
}

void TWebBrowser::Navigate(const std::string& url) {
  LoadWanted(static_cast<WebKitWebView*>(FView->GetNativeBackend()), LoadableAddress(url).utf8_string());
  FView->LoadURL(LoadableAddress(url));
}

void TWebBrowser::OnNavigating(wxWebViewEvent& event) {
  if (OnBeforeNavigate2) OnBeforeNavigate2(ReportedAddress(event.GetURL()));
}
