#pragma once
// The image buttons for the keyboard and for assistive tools. Each painted button gets a windowless,
// focusable stand-in that draws nothing and lets the mouse through to the skin: Tab and Shift+Tab
// reach it, Space and Enter press it, the skin marks it while it has the focus, and the toolkit's
// accessibility layer announces it as a push button with its name.
#include <wx/stattext.h>

#include "app/SkinPanel.h"

class TSkinButtonStandIn : public wxStaticText {
 public:
  TSkinButtonStandIn(TSkinPanel& panel, int index);
  bool AcceptsFocus() const override { return true; }
  bool AcceptsFocusFromKeyboard() const override { return true; }

 private:
  void OnKeyDown(wxKeyEvent& event);

  TSkinPanel& FPanel;
  int FIndex;
};

// Adds the stand-ins, in the order the buttons are seen from left to right.
void MakeSkinButtonsReachable(TSkinPanel& panel);
