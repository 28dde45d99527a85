#include "app/gtk/EndSignals.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/window.h>

#include <csignal>
#include <set>

#include "app/core/WorkingFolder.h"
#include "app/engine/EngineFiles.h"

namespace {
constexpr guint SweepMilliseconds = 100;
constexpr int SweepsBeforeForcedEnd = 50;  // five seconds

int Sweeps = -1;  // -1 until an end was asked for

[[noreturn]] void Leave() {
  RemoveWorkingFolder();
  RemoveEngineFiles();
  _exit(1);
}

// Closes the window as its close box does. A command that holds the window (an issue being
// opened) turns the close into a cancel and closes the window once it has returned.
void CloseMainWindow() {
  if (wxWindow* window = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) {
    if (!window->IsBeingDeleted()) window->Close(false);
  } else if (wxTheApp) {
    wxTheApp->ExitMainLoop();
  }
  // The main loop sleeps until some event: wake it so the closed window is destroyed and the loop
  // sees that no window is left.
  wxWakeUpIdle();
}

// Until the process has ended: boxes shown after the cancel are ended too.
gboolean Sweep(gpointer) {
  if (++Sweeps > SweepsBeforeForcedEnd) Leave();
  CloseMainWindow();
  EndModalDialogs();
  return G_SOURCE_CONTINUE;
}

void BeginEnd() {
  if (Sweeps >= 0) return;
  Sweeps = 0;
  CloseMainWindow();
  EndModalDialogs();
  g_timeout_add(SweepMilliseconds, Sweep, nullptr);
}

// GLib turns the signal into an event of the main loop, which every nested loop of the program
// (wx's modal loops, GTK's own dialogs) also runs, so the close happens on the GUI thread.
gboolean OnEndSignal(gpointer) {
  BeginEnd();
  return G_SOURCE_CONTINUE;
}

// A session that ends by taking its display away leaves no window to close: the close sequence's
// clean-up still runs before the program ends, as it would have ended without it.
int OnDisplayLost(Display*) {
  Leave();
}
}  // namespace

void EndModalDialogs() {
  std::set<GtkWidget*> ended;
  for (wxWindow* window : wxTopLevelWindows) {
    auto* dialog = dynamic_cast<wxDialog*>(window);
    if (!dialog || !dialog->IsModal()) continue;
    dialog->EndModal(wxID_CANCEL);
    ended.insert(dialog->GetHandle());
  }
  // Dialogs that GTK runs in a loop of its own end on a response.
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item; item = item->next) {
    auto* widget = static_cast<GtkWidget*>(item->data);
    if (GTK_IS_DIALOG(widget) && gtk_widget_get_visible(widget) && !ended.count(widget))
      gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
  }
  g_list_free(windows);
}

void CatchEndSignals() {
  for (const int signal : {SIGTERM, SIGHUP, SIGINT}) g_unix_signal_add(signal, OnEndSignal, nullptr);
  wxTheApp->Bind(wxEVT_END_SESSION, [](wxCloseEvent&) { BeginEnd(); });
  if (GDK_IS_X11_DISPLAY(gdk_display_get_default())) XSetIOErrorHandler(OnDisplayLost);
}
