#include "app/engine/PageViewGuards.h"

#include "app/engine/PageViewState.h"

namespace {
// Enough for a page that greets or asks once or twice; a script that asks in a loop gets
// cancelled answers after these, so it cannot keep the user answering.
constexpr int ScriptDialogsPerPage = 3;

gboolean OnScriptPrint(WebKitWebView*, WebKitPrintOperation*, gpointer) {
  return TRUE;
}

gboolean OnScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer) {
  const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
  // A magazine page has nothing to lose: whatever made the user go elsewhere goes ahead.
  if (type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
    webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
    return TRUE;
  }
  if (++PageViewState(view).scriptDialogs <= ScriptDialogsPerPage) return FALSE;
  if (type == WEBKIT_SCRIPT_DIALOG_CONFIRM) webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
  return TRUE;
}

void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer) {
  if (event != WEBKIT_LOAD_COMMITTED) return;
  TPageViewState& state = PageViewState(view);
  state.scriptDialogs = 0;
  state.pageCommitted = true;
}

void OnWebProcessEnded(WebKitWebView* view, WebKitWebProcessTerminationReason, gpointer) {
  PageViewState(view).pageCommitted = false;
}
}  // namespace

void GuardPageView(WebKitWebView* view) {
  PageViewState(view);
  g_signal_connect(view, "print", G_CALLBACK(OnScriptPrint), nullptr);
  g_signal_connect(view, "script-dialog", G_CALLBACK(OnScriptDialog), nullptr);
  g_signal_connect(view, "load-changed", G_CALLBACK(OnLoadChanged), nullptr);
  g_signal_connect(view, "web-process-terminated", G_CALLBACK(OnWebProcessEnded), nullptr);
}
