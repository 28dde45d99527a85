#include "app/PageZoom.h"

#include <array>

namespace {
constexpr std::array<float, 13> ZoomSteps = {0.3f,  0.5f, 0.67f, 0.8f, 0.9f, 1.0f, 1.1f,
                                             1.25f, 1.5f, 1.75f, 2.0f, 2.5f, 3.0f};
constexpr int ActualSize = 5;
static_assert(ZoomSteps[ActualSize] == 1.0f);
}  // namespace

TPageZoom::TPageZoom(wxWindow& frame, wxWebView& view) : FView(view), FStep(ActualSize) {
  frame.Bind(wxEVT_CHAR_HOOK, &TPageZoom::OnCharHook, this);
  view.Bind(wxEVT_MOUSEWHEEL, &TPageZoom::OnWheel, this);
}

void TPageZoom::Reset() {
  FStep = ActualSize;
  FView.SetZoomFactor(ZoomSteps[FStep]);
}

void TPageZoom::Step(int direction) {
  const int next = FStep + direction;
  if (next < 0 || next >= static_cast<int>(ZoomSteps.size())) return;
  FStep = next;
  FView.SetZoomFactor(ZoomSteps[FStep]);
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

void TPageZoom::OnWheel(wxMouseEvent& event) {
  if (!event.ControlDown() || event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL ||
      event.GetWheelRotation() == 0) {
    event.Skip();
    return;
  }
  // A touchpad sends the wheel in small parts: one step per whole notch.
  FWheel += event.GetWheelRotation();
  const int notch = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
  for (; FWheel >= notch; FWheel -= notch) Step(1);
  for (; FWheel <= -notch; FWheel += notch) Step(-1);
}
