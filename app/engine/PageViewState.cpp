#include "app/engine/PageViewState.h"

namespace {
constexpr char StateKey[] = "folivo-page-guards";
}

TPageViewState::~TPageViewState() {
  if (deadline) g_source_remove(deadline);
}

TPageViewState* FoundPageViewState(WebKitWebView* view) {
  return static_cast<TPageViewState*>(g_object_get_data(G_OBJECT(view), StateKey));
}

TPageViewState& PageViewState(WebKitWebView* view) {
  TPageViewState* state = FoundPageViewState(view);
  if (!state) {
    state = new TPageViewState;
    g_object_set_data_full(G_OBJECT(view), StateKey, state,
                           [](gpointer data) { delete static_cast<TPageViewState*>(data); });
  }
  return *state;
}
