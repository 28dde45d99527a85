#include "app/EndSignals.h"

#include <glib-unix.h>
#include <wx/app.h>
#include <wx/window.h>

#include <csignal>

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
}  // namespace

void CatchEndSignals() {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) g_unix_signal_add(signal, OnEndSignal, nullptr);
  // The session ending cannot wait for an answer: the close is not vetoable then.
  wxTheApp->Bind(wxEVT_END_SESSION, [](wxCloseEvent&) { CloseMainWindow(true); });
}
