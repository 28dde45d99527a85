#include "app/engine/LinkActivations.h"

#include <gdk/gdkkeysyms.h>

namespace {
constexpr const char* ActivationsKey = "folivo-link-activations";

bool IsEnter(const GdkEventKey& key) {
  return key.keyval == GDK_KEY_Return || key.keyval == GDK_KEY_KP_Enter || key.keyval == GDK_KEY_ISO_Enter;
}
}  // namespace

void TLinkActivations::Watch(WebKitWebView* view) {
  auto* self = new TLinkActivations;
  g_object_set_data_full(G_OBJECT(view), ActivationsKey, self,
                         [](gpointer activations) { delete static_cast<TLinkActivations*>(activations); });
  g_signal_connect(view, "button-press-event", G_CALLBACK(OnPress), self);
  g_signal_connect(view, "key-press-event", G_CALLBACK(OnPress), self);
  g_signal_connect(view, "key-release-event", G_CALLBACK(OnRelease), self);
}

TLinkActivations& TLinkActivations::Of(WebKitWebView* view) {
  return *static_cast<TLinkActivations*>(g_object_get_data(G_OBJECT(view), ActivationsKey));
}

// The engine gives a link's navigation the primary button only when the user clicked the link or
// pressed Enter on it; a script's click on it has none.
bool TLinkActivations::ByTheUser(WebKitNavigationAction* action) {
  return webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED &&
         webkit_navigation_action_get_mouse_button(action) == GDK_BUTTON_PRIMARY;
}

void TLinkActivations::HandOff(WebKitNavigationAction* action) {
  if (!ByTheUser(action) || FPresses == 0) return;
  --FPresses;
  HandToDesktop(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)), OnNotOpened);
}

gboolean TLinkActivations::OnPress(GtkWidget*, GdkEvent* event, gpointer self) {
  auto& activations = *static_cast<TLinkActivations*>(self);
  if (event->type == GDK_BUTTON_PRESS && event->button.button == GDK_BUTTON_PRIMARY) ++activations.FPresses;
  if (event->type == GDK_KEY_PRESS && IsEnter(event->key) && !activations.FEnterHeld) {
    activations.FEnterHeld = true;
    ++activations.FPresses;
  }
  return FALSE;
}

gboolean TLinkActivations::OnRelease(GtkWidget*, GdkEvent* event, gpointer self) {
  if (IsEnter(event->key)) static_cast<TLinkActivations*>(self)->FEnterHeld = false;
  return FALSE;
}
