#include "app/gtk/FullScreenReading.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/display.h>
#include <wx/menu.h>

#include "app/gtk/SkinButtonKeys.h"

namespace {
// Whether the desktop makes windows full screen; a bare X server does not, and the window then
// takes the screen's size and place itself.
bool DesktopMakesFullScreen() {
  GdkDisplay* display = gdk_display_get_default();
  if (!GDK_IS_X11_DISPLAY(display)) return true;
  return gdk_x11_screen_supports_net_wm_hint(gdk_display_get_default_screen(display),
                                             gdk_atom_intern_static_string("_NET_WM_STATE_FULLSCREEN"));
}
}  // namespace

TFullScreenReading::TFullScreenReading(wxFrame& frame, TSkinPanel& skin, wxWindow& page)
    : FFrame(frame), FSkin(skin), FPage(page), FClientSize(frame.GetClientSize()), FPageRect(page.GetRect()) {
  FFrame.Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    Place();
    event.Skip();
  });
  FFrame.Bind(wxEVT_CHAR_HOOK, &TFullScreenReading::OnKey, this);
}

void TFullScreenReading::Toggle() {
  if (FActive)
    Leave();
  else
    Enter();
  Place();
}

void TFullScreenReading::Enter() {
  FActive = true;
  FPlace = FFrame.GetPosition();
  FFrame.SetMinClientSize(wxDefaultSize);
  FFrame.SetMaxClientSize(wxDefaultSize);
  FByWindowManager = DesktopMakesFullScreen();
  if (FByWindowManager) {
    FFrame.ShowFullScreen(true, wxFULLSCREEN_ALL);
    return;
  }
  FFrame.GetMenuBar()->Hide();  // its keys still work
  const int screen = wxDisplay::GetFromWindow(&FFrame);
  FFrame.SetSize(wxDisplay(screen == wxNOT_FOUND ? 0u : static_cast<unsigned>(screen)).GetGeometry());
}

void TFullScreenReading::Leave() {
  FActive = false;
  if (FByWindowManager)
    FFrame.ShowFullScreen(false);
  else
    FFrame.GetMenuBar()->Show();
  FFrame.SetClientSize(FClientSize);
  FFrame.SetMinClientSize(FClientSize);
  FFrame.SetMaxClientSize(FClientSize);
  FFrame.Move(FPlace);
}

// The skin under the page fills the window; the buttons it draws are out of reach while the page
// covers them.
void TFullScreenReading::Place() {
  FSkin.SetSize(wxRect(wxPoint(0, 0), FActive ? FFrame.GetClientSize() : FClientSize));
  FPage.SetSize(FActive ? wxRect(wxPoint(0, 0), FFrame.GetClientSize()) : FPageRect);
  ShowSkinButtonStandIns(FSkin, !FActive);
}

void TFullScreenReading::OnKey(wxKeyEvent& event) {
  if (FActive && event.GetKeyCode() == WXK_ESCAPE && event.GetModifiers() == 0)
    Toggle();
  else
    event.Skip();
}
