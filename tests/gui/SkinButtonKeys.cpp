// The image buttons without the mouse: the accessibility tree announces them, Tab and Shift+Tab
// step through them with a mark on the skin, F6 moves between them and the page, Space and Enter
// press them; Ctrl+L is WEB.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "tests/gui/ReaderWindow.h"

namespace {
using namespace gui;
const TReaderSession* const session = AddReaderSession("gui_SkinButtonKeys");

// The names of the push buttons under an accessible, depth first.
void CollectPushButtons(AtkObject* accessible, std::vector<std::string>& names) {
  if (atk_object_get_role(accessible) == ATK_ROLE_PUSH_BUTTON) {
    const char* name = atk_object_get_name(accessible);
    names.push_back(name ? name : "");
  }
  for (int i = 0; i < atk_object_get_n_accessible_children(accessible); ++i) {
    AtkObject* child = atk_object_ref_accessible_child(accessible, i);
    if (!child) continue;
    CollectPushButtons(child, names);
    g_object_unref(child);
  }
}

class SkinButtonKeys : public ReaderWindowTest {
 protected:
  bool MarkIs(int button) {
    return PumpUntil([&] { return frame->Image1()->FocusMark() == button; }, 5000);
  }
};

TEST_F(SkinButtonKeys, F6AndTabReachTheButtonsAndSpaceOrEnterPressesThem) {
  std::vector<std::string> buttons;
  CollectPushButtons(gtk_widget_get_accessible(static_cast<GtkWidget*>(frame->GetHandle())), buttons);
  EXPECT_EQ(buttons, (std::vector<std::string>{"Back", "INDEX", "Forward", "WEB"}));
  EXPECT_EQ(frame->Image1()->FocusMark(), -1);

  View()->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == View(); }));
  Keys("ctrl+l");
  ASSERT_TRUE(Shows(Korvex("kvxlnkk.htm")));

  Keys("F6");  // from the page to the first button from the left
  ASSERT_TRUE(MarkIs(1));
  Keys("Return");
  ASSERT_TRUE(Shows(Korvex("hhhome.htm")));
  Keys("Tab");
  EXPECT_TRUE(MarkIs(0));  // INDEX
  Keys("shift+Tab");
  EXPECT_TRUE(MarkIs(1));
  Keys("Tab Tab Tab");
  EXPECT_TRUE(MarkIs(3));  // WEB
  Keys("space");
  EXPECT_TRUE(Shows(Korvex("kvxlnkk.htm")));
  Keys("Tab");  // out to the page
  EXPECT_TRUE(MarkIs(-1));
  EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == View(); }));
}
}  // namespace
