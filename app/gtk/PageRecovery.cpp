#include "app/gtk/PageRecovery.h"

#include "classlib/Application.h"
#include "classlib/Backend.h"

namespace {
// A web process ended by the reader itself (a page that stopped answering) is not loaded again.
void OnWebProcessTerminated(GObject*, WebKitWebProcessTerminationReason reason, gpointer recovery) {
  if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) return;
  static_cast<TPageRecovery*>(recovery)->WebProcessEnded();
}
}  // namespace

TPageRecovery::TPageRecovery(wxWindow& frame, TPageView& page, TMainForm& form)
    : FFrame(frame), FPage(page), FForm(form) {
  FSignal =
      g_signal_connect(page.Engine(), "web-process-terminated", G_CALLBACK(OnWebProcessTerminated), this);
}

TPageRecovery::~TPageRecovery() {
  if (FSignal) g_signal_handler_disconnect(FPage.Engine(), FSignal);
}

void TPageRecovery::WebProcessEnded() {
  const TBrowsingHistory& history = FForm.History();
  if (history.Index() < 0 || history.Index() >= history.Count()) return;
  const std::string page = history.Entry(history.Index());
  if (page == FReloaded) {
    FReloaded.clear();
    FFrame.CallAfter(
        [] { Backend().ShowMessage("The page viewer stopped twice on this page; it is not loaded again."); });
    return;
  }
  FReloaded = page;
  // Out of the engine's signal before loading anew.
  FFrame.CallAfter([this] { Application.Guard([this] { FForm.ReloadCurrentEntry(); }); });
}
