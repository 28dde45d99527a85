#include "app/gtk/SkinButtonKeys.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <numeric>

namespace {
// The first other child of the panel that takes the focus from the keyboard: the page.
wxWindow* PageOf(TSkinPanel& panel) {
  for (wxWindow* child : panel.GetChildren())
    if (!dynamic_cast<TSkinButtonStandIn*>(child) && child->IsShown() && child->AcceptsFocusFromKeyboard())
      return child;
  return nullptr;
}
}  // namespace

TSkinButtonStandIn::TSkinButtonStandIn(TSkinPanel& panel, int index)
    : TSkinButtonStandIn(panel, index, panel.Buttons()[static_cast<std::size_t>(index)]) {}

TSkinButtonStandIn::TSkinButtonStandIn(TSkinPanel& panel, int index, const TSkinPanel::TImageButton& button)
    : wxStaticBitmap(&panel, wxID_ANY, wxBitmapBundle(), button.bounds.GetPosition(), button.bounds.GetSize(),
                     0, button.name),
      FPanel(panel),
      FIndex(index) {
  auto* widget = static_cast<GtkWidget*>(GetHandle());
  gtk_widget_set_can_focus(widget, TRUE);
  AtkObject* accessible = gtk_widget_get_accessible(widget);
  atk_object_set_role(accessible, ATK_ROLE_PUSH_BUTTON);
  atk_object_set_name(accessible, button.caption.utf8_str());
  Bind(wxEVT_KEY_DOWN, &TSkinButtonStandIn::OnKeyDown, this);
  // The toolkit hands the pointer's events over a window-less child to that child: they belong to
  // the skin, which draws the button and tests where the mouse is.
  for (const auto& type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP})
    Bind(type, &TSkinButtonStandIn::PassToSkin, this);
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
    FPanel.SetFocusMark(FIndex);
    event.Skip();
  });
  Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    FPanel.SetFocusMark(-1);
    event.Skip();
  });
}

void TSkinButtonStandIn::PassToSkin(wxMouseEvent& event) {
  wxMouseEvent onSkin(event);
  onSkin.SetPosition(event.GetPosition() + GetPosition());
  onSkin.SetEventObject(&FPanel);
  onSkin.SetId(FPanel.GetId());
  FPanel.GetEventHandler()->ProcessEvent(onSkin);
}

// Tab and Shift+Tab step through the buttons left to right and past either end back to the page;
// Space and Enter press.
void TSkinButtonStandIn::OnKeyDown(wxKeyEvent& event) {
  const int modifiers = event.GetModifiers();
  const int key = event.GetKeyCode();
  if (key == WXK_TAB && (modifiers & ~wxMOD_SHIFT) == 0) {
    const bool forward = modifiers == 0;
    if (TSkinButtonStandIn* next = Neighbour(forward))
      next->SetFocus();
    else if (wxWindow* page = PageOf(FPanel))
      page->SetFocus();
    return;
  }
  if (modifiers == 0 && (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
    FPanel.Press(FIndex);
    return;
  }
  event.Skip();
}

TSkinButtonStandIn* TSkinButtonStandIn::Neighbour(bool forward) const {
  std::vector<TSkinButtonStandIn*> row;
  for (wxWindow* child : FPanel.GetChildren())
    if (auto* standIn = dynamic_cast<TSkinButtonStandIn*>(child)) row.push_back(standIn);
  const auto self = std::find(row.begin(), row.end(), this);
  if (forward) return self + 1 < row.end() ? *(self + 1) : nullptr;
  return self > row.begin() ? *(self - 1) : nullptr;
}

namespace {
// F6 moves the focus between the page and the buttons, as between a window's panes: the page
// keeps Tab for its own links.
void SwitchPane(TSkinPanel& panel) {
  if (dynamic_cast<TSkinButtonStandIn*>(wxWindow::FindFocus())) {
    if (wxWindow* page = PageOf(panel)) page->SetFocus();
    return;
  }
  for (wxWindow* child : panel.GetChildren())
    if (auto* standIn = dynamic_cast<TSkinButtonStandIn*>(child)) {
      standIn->SetFocus();
      return;
    }
}
}  // namespace

void ShowSkinButtonStandIns(TSkinPanel& panel, bool show) {
  for (wxWindow* child : panel.GetChildren())
    if (dynamic_cast<TSkinButtonStandIn*>(child)) child->Show(show);
}

void MakeSkinButtonsReachable(TSkinPanel& panel) {
  std::vector<int> order(panel.Buttons().size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&panel](int a, int b) {
    return panel.Buttons()[static_cast<std::size_t>(a)].bounds.x <
           panel.Buttons()[static_cast<std::size_t>(b)].bounds.x;
  });
  for (const int index : order) new TSkinButtonStandIn(panel, index);
  wxGetTopLevelParent(&panel)->Bind(wxEVT_CHAR_HOOK, [&panel](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_F6 && (event.GetModifiers() & ~wxMOD_SHIFT) == 0)
      SwitchPane(panel);
    else
      event.Skip();
  });
}
