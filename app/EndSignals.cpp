#include "app/EndSignals.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/window.h>

#include <csignal>

#include "app/WorkingFolder.h"

namespace {
void CloseMainWindow(bool force) {
  if (wxWindow* window = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) window->Close(force);
}

// GLib turns the signal into an event of the main loop, which every nested loop of the program
// also runs, so the close happens on the GUI thread and never inside a signal handler.
gboolean OnEndSignal(gpointer) {
  CloseMainWindow(false);
  return G_SOURCE_CONTINUE;
}
// A session that ends by taking its display away leaves no window to close: the close sequence's
// clean-up still runs before the program ends, as it would have ended without it.
int OnDisplayLost(Display*) {
  RemoveWorkingFolder();
  _exit(1);
}
}  // namespace

void CatchEndSignals() {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) g_unix_signal_add(signal, OnEndSignal, nullptr);
  // The session ending cannot wait for an answer: the close is not vetoable then.
  wxTheApp->Bind(wxEVT_END_SESSION, [](wxCloseEvent&) { CloseMainWindow(true); });
  if (GDK_IS_X11_DISPLAY(gdk_display_get_default())) XSetIOErrorHandler(OnDisplayLost);
}
