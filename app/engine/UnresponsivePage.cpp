#include "app/engine/UnresponsivePage.h"

#include "app/engine/PageViewState.h"

namespace {
// How long the page on view has to answer once the user asked for another one.
constexpr guint AnswerDeadlineMs = 2000;

void StopWaiting(TPageViewState& state) {
  state.wantedUri.clear();
  ++state.probe;
  if (state.deadline) g_source_remove(state.deadline);
  state.deadline = 0;
}

void OnProbeAnswer(GObject* source, GAsyncResult* result, gpointer probe) {
  auto* view = WEBKIT_WEB_VIEW(source);
  if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(view, result, nullptr))
    g_object_unref(value);
  TPageViewState& state = PageViewState(view);
  if (state.probe == GPOINTER_TO_UINT(probe)) StopWaiting(state);
}

// The page neither answered nor let the load through: a script loop or a dialog holds its web
// process. A new web process loads what the user asked for.
gboolean OnNoAnswer(gpointer data) {
  auto* view = static_cast<WebKitWebView*>(data);
  TPageViewState& state = PageViewState(view);
  state.deadline = 0;
  const std::string uri = state.wantedUri;
  StopWaiting(state);
  webkit_web_view_terminate_web_process(view);
  webkit_web_view_load_uri(view, uri.c_str());
  return G_SOURCE_REMOVE;
}
}  // namespace

void LoadWanted(WebKitWebView* view, const std::string& uri) {
  TPageViewState& state = PageViewState(view);
  StopWaiting(state);
  // A web process still starting, or none at all, has no page that could hold it.
  if (!state.pageCommitted) return;
  if (!webkit_web_view_get_is_web_process_responsive(view)) {
    webkit_web_view_terminate_web_process(view);
    return;
  }
  // Any answer, a value or an error, shows that the web process still reads what it is sent; the
  // load that follows this check is sent after it.
  state.wantedUri = uri;
  state.deadline = g_timeout_add(AnswerDeadlineMs, OnNoAnswer, view);
  webkit_web_view_evaluate_javascript(view, "0", -1, nullptr, nullptr, nullptr, OnProbeAnswer,
                                      GUINT_TO_POINTER(state.probe));
}
