#pragma once
// The window's face: paints the skin unscaled and the four windowless image buttons on it, and
// hit-tests the mouse for them.
#include <wx/bitmap.h>
#include <wx/panel.h>

#include <functional>
#include <vector>

class TSkinPanel : public wxPanel {
 public:
  struct TImageButton {
    wxString name;  // SpeedButton1 ...
    wxRect bounds;
    wxBitmap glyph;
    std::function<void()> onClick;
  };

  TSkinPanel(wxWindow* parent, const wxBitmap& skin);
  void AddButton(const TImageButton& button);
  const std::vector<TImageButton>& Buttons() const { return FButtons; }
  // The button under a point of the panel, or -1.
  int ButtonAt(const wxPoint& point) const;

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
};
