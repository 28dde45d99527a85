#include "app/engine/PageView.h"

#include "app/engine/LinkActivations.h"
#include "app/engine/PageEngine.h"
#include "app/engine/PageViewGuards.h"
#include "app/engine/PageVisits.h"
#include "app/engine/UnresponsivePage.h"

namespace {
// Connected after the rules: only what they let through comes here.
gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer visits) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  static_cast<TPageVisits*>(visits)->Decided(
      webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)),
      TLinkActivations::ByTheUser(action));
  return FALSE;
}

std::string Address(WebKitWebView* view) {
  const gchar* uri = webkit_web_view_get_uri(view);
  return uri ? uri : "";
}

// Only the page's own loads show on the view, never those of its frames.
void OnPageLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer visits) {
  auto& pageVisits = *static_cast<TPageVisits*>(visits);
  if (event == WEBKIT_LOAD_STARTED)
    pageVisits.PageLoadStarted(Address(view));
  else if (event == WEBKIT_LOAD_COMMITTED)
    pageVisits.PageLoadSettled(Address(view));
}

gboolean OnPageLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* failingUri, GError*, gpointer visits) {
  static_cast<TPageVisits*>(visits)->PageLoadSettled(failingUri ? failingUri : "");
  return FALSE;
}

void OnPageAddressChanged(WebKitWebView* view, GParamSpec*, gpointer visits) {
  static_cast<TPageVisits*>(visits)->PageAddressChanged(Address(view));
}

// The engine's own menu offers Back, Reload and Open Link in New Window, which the reader's
// history and rules would not see.
gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*, gpointer) {
  return TRUE;
}

void OnLoadFinished(WebKitWebView* view, WebKitLoadEvent event, gpointer watcher) {
  if (event != WEBKIT_LOAD_FINISHED) return;
  const gchar* uri = webkit_web_view_get_uri(view);
  (*static_cast<TPageView::TLoadWatcher*>(watcher))(uri ? uri : "");
}

void OnScriptDone(GObject* view, GAsyncResult* result, gpointer data) {
  auto* answer = static_cast<TPageView::TScriptAnswer*>(data);
  GError* error = nullptr;
  JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
  if (value) {
    gchar* text = jsc_value_to_string(value);
    (*answer)(true, text ? text : "");
    g_free(text);
    g_object_unref(value);
  } else {
    (*answer)(false, error ? error->message : "");
    g_clear_error(&error);
  }
  delete answer;
}
}  // namespace

TPageView::TPageView() : FView(NewReaderPageView()), FVisits(std::make_unique<TPageVisits>()) {
  GuardPageView(FView);
  FVisits->OnVisit = [this](const std::string& uri) {
    if (OnVisit) OnVisit(uri);
  };
  g_signal_connect(FView, "decide-policy", G_CALLBACK(OnDecidePolicy), FVisits.get());
  g_signal_connect(FView, "load-changed", G_CALLBACK(OnPageLoadChanged), FVisits.get());
  g_signal_connect(FView, "load-failed", G_CALLBACK(OnPageLoadFailed), FVisits.get());
  g_signal_connect(FView, "notify::uri", G_CALLBACK(OnPageAddressChanged), FVisits.get());
  g_signal_connect(FView, "context-menu", G_CALLBACK(OnContextMenu), nullptr);
}

TPageView::~TPageView() {
  g_signal_handlers_disconnect_by_data(FView, FVisits.get());
  // The engine keeps the view's web process for later views; this one's ends with it, and so
  // writes nothing more once the reader cleans up behind itself.
  webkit_web_view_terminate_web_process(FView);
  g_object_unref(FView);
}

void TPageView::Load(const std::string& uri) {
  LoadWanted(FView, uri);
  webkit_web_view_load_uri(FView, uri.c_str());
}

std::string TPageView::Uri() const {
  return Address(FView);
}

bool TPageView::Loading() const {
  return webkit_web_view_is_loading(FView);
}

double TPageView::Zoom() const {
  return webkit_web_view_get_zoom_level(FView);
}

void TPageView::SetZoom(double factor) {
  webkit_web_view_set_zoom_level(FView, factor);
}

unsigned long TPageView::WatchLoads(TLoadWatcher watcher) const {
  return g_signal_connect_data(
      FView, "load-changed", G_CALLBACK(OnLoadFinished), new TLoadWatcher(std::move(watcher)),
      [](gpointer watcher, GClosure*) { delete static_cast<TLoadWatcher*>(watcher); }, GConnectFlags(0));
}

void TPageView::RunScript(const std::string& script, TScriptAnswer answer) const {
  webkit_web_view_evaluate_javascript(FView, script.c_str(), -1, nullptr, nullptr, nullptr, OnScriptDone,
                                      new TScriptAnswer(std::move(answer)));
}

void TPageView::TellNotOpened(TNotOpened teller) {
  TLinkActivations::Of(FView).OnNotOpened = std::move(teller);
}
