#include "app/gtk/HistoryKeys.h"

#include <gtk/gtk.h>

#include "classlib/Application.h"

namespace {
// The engine's widget takes the mouse before the toolkit sees it: its back and forward buttons
// are caught on the widget itself.
gboolean OnPageButton(GtkWidget*, GdkEventButton* event, gpointer form) {
  if (event->type != GDK_BUTTON_PRESS || (event->button != 8 && event->button != 9)) return FALSE;
  auto& mainForm = *static_cast<TMainForm*>(form);
  if (event->button == 8)
    Application.Guard([&mainForm] { mainForm.SpeedButton2Click(); });
  else
    Application.Guard([&mainForm] { mainForm.SpeedButton3Click(); });
  return TRUE;
}

gboolean OnPageButtonRelease(GtkWidget*, GdkEventButton* event, gpointer) {
  return event->button == 8 || event->button == 9;
}
}  // namespace

THistoryKeys::THistoryKeys(wxWindow& frame, TPageView& page, TMainForm& form) : FPage(page), FForm(form) {
  frame.Bind(wxEVT_CHAR_HOOK, &THistoryKeys::OnCharHook, this);
  GtkWidget* widget = page.Widget();
  // The engine's swipe through its own history stays off.
  webkit_settings_set_enable_back_forward_navigation_gestures(webkit_web_view_get_settings(page.Engine()),
                                                              FALSE);
  g_signal_connect(widget, "button-press-event", G_CALLBACK(OnPageButton), &form);
  g_signal_connect(widget, "button-release-event", G_CALLBACK(OnPageButtonRelease), &form);
}

THistoryKeys::~THistoryKeys() {
  g_signal_handlers_disconnect_by_data(FPage.Widget(), &FForm);
}

void THistoryKeys::OnCharHook(wxKeyEvent& event) {
  if (event.GetModifiers() != wxMOD_ALT) {
    event.Skip();
    return;
  }
  switch (event.GetKeyCode()) {
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
      Application.Guard([this] { FForm.SpeedButton2Click(); });
      break;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
      Application.Guard([this] { FForm.SpeedButton3Click(); });
      break;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
      Application.Guard([this] { FForm.SpeedButton1Click(); });
      break;
    default:
      event.Skip();
  }
}
