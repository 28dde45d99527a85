#pragma once
// The image buttons for the keyboard and for assistive tools. Each painted button gets a windowless,
// focusable stand-in that draws nothing and passes the mouse on to the skin: Tab and Shift+Tab
// reach it, Space and Enter press it, the skin marks it while it has the focus, and the toolkit's
// accessibility layer announces it as a push button with its name.
#include <wx/statbmp.h>

#include "app/gtk/SkinPanel.h"

class TSkinButtonStandIn : public wxStaticBitmap {
 public:
  TSkinButtonStandIn(TSkinPanel& panel, int index);
  bool AcceptsFocus() const override { return true; }
  bool AcceptsFocusFromKeyboard() const override { return true; }

 private:
  TSkinButtonStandIn(TSkinPanel& panel, int index, const TSkinPanel::TImageButton& button);
  void OnKeyDown(wxKeyEvent& event);
  void PassToSkin(wxMouseEvent& event);
  // The stand-in after or before this one, or nullptr at the end of the row.
  TSkinButtonStandIn* Neighbour(bool forward) const;

  TSkinPanel& FPanel;
  int FIndex;
};

// Shows or hides the stand-ins: hidden, no key reaches the buttons.
void ShowSkinButtonStandIns(TSkinPanel& panel, bool show);

// Adds the stand-ins, in the order the buttons are seen from left to right, and F6 on the window to
// move the focus between the page and them.
void MakeSkinButtonsReachable(TSkinPanel& panel);
