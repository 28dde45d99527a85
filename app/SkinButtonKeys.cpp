#include "app/SkinButtonKeys.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <numeric>

TSkinButtonStandIn::TSkinButtonStandIn(TSkinPanel& panel, int index)
    : wxStaticText(&panel, wxID_ANY, wxString(),
                   panel.Buttons()[static_cast<std::size_t>(index)].bounds.GetPosition(),
                   panel.Buttons()[static_cast<std::size_t>(index)].bounds.GetSize(), wxST_NO_AUTORESIZE,
                   panel.Buttons()[static_cast<std::size_t>(index)].name),
      FPanel(panel),
      FIndex(index) {
  auto* widget = static_cast<GtkWidget*>(GetHandle());
  gtk_widget_set_can_focus(widget, TRUE);
  AtkObject* accessible = gtk_widget_get_accessible(widget);
  atk_object_set_role(accessible, ATK_ROLE_PUSH_BUTTON);
  atk_object_set_name(accessible, panel.Buttons()[static_cast<std::size_t>(index)].caption.utf8_str());
  Bind(wxEVT_KEY_DOWN, &TSkinButtonStandIn::OnKeyDown, this);
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
    FPanel.SetFocusMark(FIndex);
    event.Skip();
  });
  Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    FPanel.SetFocusMark(-1);
    event.Skip();
  });
}

void TSkinButtonStandIn::OnKeyDown(wxKeyEvent& event) {
  if (event.HasAnyModifiers()) {
    event.Skip();
    return;
  }
  switch (event.GetKeyCode()) {
    case WXK_SPACE:
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      FPanel.Press(FIndex);
      break;
    default:
      event.Skip();
  }
}

void MakeSkinButtonsReachable(TSkinPanel& panel) {
  std::vector<int> order(panel.Buttons().size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&panel](int a, int b) {
    return panel.Buttons()[static_cast<std::size_t>(a)].bounds.x <
           panel.Buttons()[static_cast<std::size_t>(b)].bounds.x;
  });
  for (const int index : order) new TSkinButtonStandIn(panel, index);
}
