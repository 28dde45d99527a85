#pragma once
// Reading full screen: the page alone fills the screen, with the same engine, history and keys;
// F11 or Escape puts the skinned window back exactly as it was, at its fixed size and place.
#include <wx/frame.h>

#include "app/gtk/SkinPanel.h"

class TFullScreenReading {
 public:
  // The page as laid out on the skin now is where it goes back to.
  TFullScreenReading(wxFrame& frame, TSkinPanel& skin, wxWindow& page);
  void Toggle();
  bool Active() const { return FActive; }

 private:
  void Enter();
  void Leave();
  void Place();
  void OnKey(wxKeyEvent& event);

  wxFrame& FFrame;
  TSkinPanel& FSkin;
  wxWindow& FPage;
  const wxSize FClientSize;
  const wxRect FPageRect;
  wxPoint FPlace;  // where the skinned window stood
  bool FActive = false;
  bool FByWindowManager = false;  // the desktop's own full screen, else the window's size and place
};
