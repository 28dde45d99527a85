#include "app/gtk/SkinPanel.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

TSkinPanel::TSkinPanel(wxWindow* parent, const wxBitmap& skin)
    : wxPanel(parent, wxID_ANY, wxPoint(0, 0), parent->GetClientSize(), wxBORDER_NONE, "Image1"),
      FSkin(skin) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  Bind(wxEVT_PAINT, &TSkinPanel::OnPaint, this);
  Bind(wxEVT_MOTION, &TSkinPanel::OnMotion, this);
  Bind(wxEVT_LEFT_DOWN, &TSkinPanel::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &TSkinPanel::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &TSkinPanel::OnLeftUp, this);
  Bind(wxEVT_LEAVE_WINDOW, &TSkinPanel::OnLeave, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &TSkinPanel::OnCaptureLost, this);
}

void TSkinPanel::AddButton(const TImageButton& button) {
  FButtons.push_back(button);
}

int TSkinPanel::ButtonAt(const wxPoint& point) const {
  for (std::size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i].bounds.Contains(point)) return static_cast<int>(i);
  return -1;
}

void TSkinPanel::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  if (FSkin.IsOk()) dc.DrawBitmap(FSkin, 0, 0, false);
  const wxPen light(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
  const wxPen dark(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW));
  for (std::size_t i = 0; i < FButtons.size(); ++i) {
    const TImageButton& button = FButtons[i];
    const bool down = static_cast<int>(i) == FPressed && static_cast<int>(i) == FHot;
    const int shift = down ? 1 : 0;
    if (button.glyph.IsOk()) {
      const wxSize glyph = button.glyph.GetLogicalSize();  // a glyph drawn at 2x takes the place of one at 1x
      const int x = button.bounds.x + (button.bounds.width - glyph.x) / 2 + shift;
      const int y = button.bounds.y + (button.bounds.height - glyph.y) / 2 + shift;
      dc.DrawBitmap(button.glyph, x, y, true);
    }
    const wxRect& r = button.bounds;
    if (static_cast<int>(i) == FFocusMark) {
      dc.SetPen(wxPen(*wxWHITE, 1, wxPENSTYLE_DOT));
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.DrawRectangle(r.GetLeft() + 1, r.GetTop() + 1, r.GetWidth() - 2, r.GetHeight() - 2);
    }
    if (static_cast<int>(i) != FHot && !down) continue;
    dc.SetPen(down ? dark : light);
    dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
    dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
    dc.SetPen(down ? light : dark);
    dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
    dc.DrawLine(r.GetRight(), r.GetBottom(), r.GetLeft() - 1, r.GetBottom());
  }
}

void TSkinPanel::RefreshButton(int index) {
  if (index < 0) return;
  wxRect edges = FButtons[static_cast<std::size_t>(index)].bounds;  // a copy: the hit area stays as laid out
  edges.Inflate(1);
  RefreshRect(edges, false);
}

void TSkinPanel::SetHot(int index) {
  if (index == FHot) return;
  const int old = FHot;
  FHot = index;
  RefreshButton(old);
  RefreshButton(FHot);
  SetCursor(FHot >= 0 ? wxCursor(wxCURSOR_HAND) : wxNullCursor);
}

void TSkinPanel::OnMotion(wxMouseEvent& event) {
  SetHot(ButtonAt(event.GetPosition()));
}

void TSkinPanel::OnLeftDown(wxMouseEvent& event) {
  const int index = ButtonAt(event.GetPosition());
  if (index < 0) return;
  FPressed = index;
  SetHot(index);
  if (!HasCapture()) CaptureMouse();
  RefreshButton(index);
}

void TSkinPanel::OnLeftUp(wxMouseEvent& event) {
  if (HasCapture()) ReleaseMouse();
  const int pressed = FPressed;
  FPressed = -1;
  RefreshButton(pressed);
  SetHot(ButtonAt(event.GetPosition()));
  if (pressed >= 0 && pressed == FHot) Press(pressed);
}

void TSkinPanel::Press(int index) {
  const auto onClick =
      FButtons[static_cast<std::size_t>(index)].onClick;  // a copy: the command may add buttons
  if (onClick) onClick();
}

void TSkinPanel::SetFocusMark(int index) {
  if (index == FFocusMark) return;
  const int old = FFocusMark;
  FFocusMark = index;
  RefreshButton(old);
  RefreshButton(FFocusMark);
}

void TSkinPanel::OnLeave(wxMouseEvent&) {
  if (FPressed < 0) SetHot(-1);
}

void TSkinPanel::OnCaptureLost(wxMouseCaptureLostEvent&) {
  const int pressed = FPressed;
  FPressed = -1;
  RefreshButton(pressed);
}
