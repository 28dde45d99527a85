#pragma once
// The window's face: paints the skin unscaled and the four windowless image buttons on it, and
// hit-tests the mouse for them. A dotted frame marks the button that has the keyboard focus.
#include <wx/bitmap.h>
#include <wx/panel.h>

#include <functional>
#include <vector>

class TSkinPanel : public wxPanel {
 public:
  struct TImageButton {
    wxString name;     // SpeedButton1 ...
    wxString caption;  // what the keyboard and assistive tools call it
    wxRect bounds;
    wxBitmap glyph;
    std::function<void()> onClick;
  };

  TSkinPanel(wxWindow* parent, const wxBitmap& skin);
  void AddButton(const TImageButton& button);
  const std::vector<TImageButton>& Buttons() const { return FButtons; }
  // The button under a point of the panel, or -1.
  int ButtonAt(const wxPoint& point) const;
  // Runs a button's command, as a click on it does.
  void Press(int index);
  // Marks the button that has the keyboard focus; -1 for none.
  void SetFocusMark(int index);
  int FocusMark() const { return FFocusMark; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void SetHot(int index);
  void RefreshButton(int index);

  wxBitmap FSkin;
  std::vector<TImageButton> FButtons;
  int FHot = -1;      // under the mouse
  int FPressed = -1;  // held down since a left press on it
  int FFocusMark = -1;
};
