#pragma once
// The user's activations of links on a page view, the only way an address reaches the desktop: a
// click on a link, or Enter while it has the keyboard focus, in the page or in a frame of it. The
// engine tells such an activation from a script's: a script that opens addresses on a key or a
// click, or clicks links itself, hands off nothing. Each press of the mouse button or of Enter
// hands off at most one address; a key held down presses once.
#include <webkit2/webkit2.h>

#include "app/engine/DesktopLauncher.h"

class TLinkActivations {
 public:
  // Watches the view's clicks and keys; lives as long as the view.
  static void Watch(WebKitWebView* view);
  static TLinkActivations& Of(WebKitWebView* view);

  // Hands the navigation's address to the desktop when it is the activation of a link by the user
  // and a press is left that has handed nothing off yet; drops it otherwise.
  void HandOff(WebKitNavigationAction* action);
  // Whether the navigation follows a link that the user activated, not one that a script clicked.
  static bool ByTheUser(WebKitNavigationAction* action);

  // Told of each address that the desktop did not open.
  TNotOpened OnNotOpened;

 private:
  static gboolean OnPress(GtkWidget* view, GdkEvent* event, gpointer self);
  static gboolean OnRelease(GtkWidget* view, GdkEvent* event, gpointer self);

  unsigned FPresses = 0;    // presses that have handed nothing off yet
  bool FEnterHeld = false;  // Enter is down: its repeats are no presses
};
