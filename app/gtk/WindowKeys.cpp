#include "app/gtk/WindowKeys.h"

#include <gtk/gtk.h>

namespace {
// The key code the window's key hooks know, for the keys they handle; 0 for any other.
int ReaderKeyCode(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Left:
      return WXK_LEFT;
    case GDK_KEY_KP_Left:
      return WXK_NUMPAD_LEFT;
    case GDK_KEY_Right:
      return WXK_RIGHT;
    case GDK_KEY_KP_Right:
      return WXK_NUMPAD_RIGHT;
    case GDK_KEY_Home:
      return WXK_HOME;
    case GDK_KEY_KP_Home:
      return WXK_NUMPAD_HOME;
    case GDK_KEY_plus:
      return '+';
    case GDK_KEY_equal:
      return '=';
    case GDK_KEY_KP_Add:
      return WXK_NUMPAD_ADD;
    case GDK_KEY_minus:
      return '-';
    case GDK_KEY_KP_Subtract:
      return WXK_NUMPAD_SUBTRACT;
    case GDK_KEY_0:
      return '0';
    case GDK_KEY_KP_0:
      return WXK_NUMPAD0;
    case GDK_KEY_f:
    case GDK_KEY_F:
      return 'F';
    case GDK_KEY_p:
    case GDK_KEY_P:
      return 'P';
    case GDK_KEY_F3:
      return WXK_F3;
    case GDK_KEY_Escape:
      return WXK_ESCAPE;
    default:
      return 0;
  }
}

gboolean OnWindowEvent(GtkWidget*, GdkEvent* event, gpointer frame) {
  if (event->type != GDK_KEY_PRESS) return FALSE;
  const GdkEventKey& key = event->key;
  const int code = ReaderKeyCode(key.keyval);
  const guint state = key.state & gtk_accelerator_get_default_mod_mask();
  const bool plain = code == WXK_F3 || code == WXK_ESCAPE;  // keys of their own, without Ctrl or Alt
  if (code == 0 || (!plain && !(state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)))) return FALSE;
  auto& window = *static_cast<wxWindow*>(frame);
  wxKeyEvent hook(wxEVT_CHAR_HOOK);
  hook.SetEventObject(&window);
  hook.m_keyCode = code;
  hook.m_controlDown = (state & GDK_CONTROL_MASK) != 0;
  hook.m_altDown = (state & GDK_MOD1_MASK) != 0;
  hook.m_shiftDown = (state & GDK_SHIFT_MASK) != 0;
  hook.m_rawCode = key.keyval;
  return window.GetEventHandler()->ProcessEvent(hook) ? TRUE : FALSE;
}
}  // namespace

void RouteReaderKeys(wxWindow& frame) {
  g_signal_connect(frame.GetHandle(), "event", G_CALLBACK(OnWindowEvent), &frame);
}
