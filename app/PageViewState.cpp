#include "app/PageViewState.h"

namespace {
constexpr char StateKey[] = "folivo-page-guards";
}

TPageViewState::~TPageViewState() {
  if (deadline) g_source_remove(deadline);
}

TPageViewState& PageViewState(WebKitWebView* view) {
  auto* state = static_cast<TPageViewState*>(g_object_get_data(G_OBJECT(view), StateKey));
  if (!state) {
    state = new TPageViewState;
    g_object_set_data_full(G_OBJECT(view), StateKey, state,
                           [](gpointer data) { delete static_cast<TPageViewState*>(data); });
  }
  return *state;
}
