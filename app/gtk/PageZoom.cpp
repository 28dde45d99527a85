#include "app/gtk/PageZoom.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr std::array<float, 13> ZoomSteps = {0.3f,  0.5f, 0.67f, 0.8f, 0.9f, 1.0f, 1.1f,
                                             1.25f, 1.5f, 1.75f, 2.0f, 2.5f, 3.0f};
constexpr int ActualSize = 5;
static_assert(ZoomSteps[ActualSize] == 1.0f);

// The engine's widget scrolls its page before the toolkit sees the wheel: Ctrl + wheel is caught
// on the widget itself.
gboolean OnPageScroll(GtkWidget*, GdkEventScroll* event, gpointer zoom) {
  if ((event->state & gtk_accelerator_get_default_mod_mask()) != GDK_CONTROL_MASK) return FALSE;
  auto& pageZoom = *static_cast<TPageZoom*>(zoom);
  if (event->direction == GDK_SCROLL_UP)
    pageZoom.Wheel(1);
  else if (event->direction == GDK_SCROLL_DOWN)
    pageZoom.Wheel(-1);
  else if (event->direction == GDK_SCROLL_SMOOTH)
    pageZoom.Wheel(-event->delta_y);
  return TRUE;
}
}  // namespace

TPageZoom::TPageZoom(wxWindow& frame, TPageView& page) : FPage(page), FStep(ActualSize) {
  frame.Bind(wxEVT_CHAR_HOOK, &TPageZoom::OnCharHook, this);
  g_signal_connect(page.Widget(), "scroll-event", G_CALLBACK(OnPageScroll), this);
}

TPageZoom::~TPageZoom() {
  g_signal_handlers_disconnect_by_data(FPage.Widget(), this);
}

void TPageZoom::Reset() {
  FStep = ActualSize;
  FPage.SetZoom(ZoomSteps[FStep]);
}

void TPageZoom::Set(double factor) {
  const auto nearest = std::min_element(ZoomSteps.begin(), ZoomSteps.end(), [factor](float a, float b) {
    return std::abs(a - factor) < std::abs(b - factor);
  });
  FStep = static_cast<int>(nearest - ZoomSteps.begin());
  FPage.SetZoom(ZoomSteps[FStep]);
}

void TPageZoom::Step(int direction) {
  const int next = FStep + direction;
  if (next < 0 || next >= static_cast<int>(ZoomSteps.size())) return;
  FStep = next;
  FPage.SetZoom(ZoomSteps[FStep]);
}

void TPageZoom::OnCharHook(wxKeyEvent& event) {
  // Shift may be needed to type "+" on the keyboard's main block.
  if ((event.GetModifiers() & ~wxMOD_SHIFT) != wxMOD_CONTROL) {
    event.Skip();
    return;
  }
  switch (event.GetKeyCode()) {
    case '+':
    case '=':
    case WXK_NUMPAD_ADD:
      Step(1);
      break;
    case '-':
    case WXK_NUMPAD_SUBTRACT:
      Step(-1);
      break;
    case '0':
    case WXK_NUMPAD0:
      Reset();
      break;
    default:
      event.Skip();
  }
}

void TPageZoom::Wheel(double notches) {
  FWheel += notches;
  for (; FWheel >= 1; FWheel -= 1) Step(1);
  for (; FWheel <= -1; FWheel += 1) Step(-1);
}
