#include "app/WebBrowser.h"

#include <webkit2/webkit2.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/utils.h>

#include <filesystem>

#include "app/PageGuards.h"
#include "app/WorkingFolder.h"

TWebBrowser::TWebBrowser(wxWindow* parent, const wxPoint& position, const wxSize& size) {
  ConfineWebProcesses(webkit_web_context_get_default(), WorkingFolder());
  FView = wxWebView::New(parent, wxID_ANY, wxString(), position, size, wxWebViewBackendDefault, wxBORDER_NONE,
                         "WebBrowser1");
  FView->EnableContextMenu(false);
  // Every issue is unpacked into the same folder, so a new issue's files take the names of the
  // last one's: the engine must read each page and its style sheets and pictures from the disk,
  // never from copies it kept of earlier loads.
  auto* engine = static_cast<WebKitWebView*>(FView->GetNativeBackend());
  webkit_web_context_set_cache_model(webkit_web_view_get_context(engine), WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
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
  LoadWanted(static_cast<WebKitWebView*>(FView->GetNativeBackend()), LoadableAddress(url).utf8_string());
  FView->LoadURL(LoadableAddress(url));
}

void TWebBrowser::OnNavigating(wxWebViewEvent& event) {
  if (OnBeforeNavigate2) OnBeforeNavigate2(ReportedAddress(event.GetURL()));
}

bool TWebBrowser::OpensInWebBrowser(const wxString& url) {
  const wxString lower = url.Lower();
  return lower.StartsWith("http://") || lower.StartsWith("https://");
}

bool TWebBrowser::InsideFolder(const wxString& url, const std::string& folder) {
  if (!url.Lower().StartsWith("file:")) return false;
  const wxString file = url.BeforeFirst('#').BeforeFirst('?');
  const std::filesystem::path path =
      std::filesystem::path(wxFileSystem::URLToFileName(file).GetFullPath().utf8_string()).lexically_normal();
  const std::string inside = std::filesystem::path(folder).lexically_normal().string() + "/";
  return path.string().compare(0, inside.size(), inside) == 0;
}

// Pages of the issue open in this view, as any link does; web addresses go to the desktop's
// browser; anything else is dropped.
void TWebBrowser::OnNewWindow(wxWebViewEvent& event) {
  const wxString url = event.GetURL();
  if (InsideFolder(url, WorkingFolder()))
    Navigate(url.utf8_string());
  else if (OpensInWebBrowser(url))
    wxLaunchDefaultBrowser(url);
}
