#include "app/engine/PageView.h"

#include "app/engine/PageEngine.h"
#include "app/engine/PageViewGuards.h"
#include "app/engine/UnresponsivePage.h"

namespace {
// Connected after the rules: only what they let through comes here.
gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer page) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const auto& view = *static_cast<const TPageView*>(page);
  if (view.OnNavigating)
    view.OnNavigating(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
  return FALSE;
}

// The engine's own menu offers Back, Reload and Open Link in New Window, which the reader's
// history and rules would not see.
gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*, gpointer) {
  return TRUE;
}

void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer watcher) {
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

TPageView::TPageView() : FView(NewReaderPageView()) {
  GuardPageView(FView);
  g_signal_connect(FView, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  g_signal_connect(FView, "context-menu", G_CALLBACK(OnContextMenu), nullptr);
}

TPageView::~TPageView() {
  g_signal_handlers_disconnect_by_data(FView, this);
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
  const gchar* uri = webkit_web_view_get_uri(FView);
  return uri ? uri : "";
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
      FView, "load-changed", G_CALLBACK(OnLoadChanged), new TLoadWatcher(std::move(watcher)),
      [](gpointer watcher, GClosure*) { delete static_cast<TLoadWatcher*>(watcher); }, GConnectFlags(0));
}

void TPageView::RunScript(const std::string& script, TScriptAnswer answer) const {
  webkit_web_view_evaluate_javascript(FView, script.c_str(), -1, nullptr, nullptr, nullptr, OnScriptDone,
                                      new TScriptAnswer(std::move(answer)));
}
