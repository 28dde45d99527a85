// What readers expect beyond the buttons, driven through the X server as a user would: history
// keys and mouse buttons, zoom, find in page, print, dropped issues and a dying page engine.
#include <dirent.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <signal.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/gtk/PagePrint.h"
#include "app/gtk/ReaderExtras.h"
#include "classlib/Application.h"
#include "tests/gui/ReaderWindow.h"

namespace fs = std::filesystem;

namespace {
using namespace gui;
const std::string SampleIssue = FOLIVO_SOURCE_DIR "/samples/korvex-01.kvx";
const TReaderSession* const session = AddReaderSession("gui_ReaderKeys");

class ReaderKeys : public ReaderWindowTest {
 protected:
  // Mouse buttons pressed over the middle of the page, with keys held down meanwhile.
  void Buttons(const std::string& buttons, const std::string& held = "") {
    const wxRect page = View()->GetScreenRect();
    std::string command =
        "xdotool search --onlyvisible --name '^Korvex Folivo$' windowfocus --sync mousemove --sync " +
        std::to_string(page.x + page.width / 2) + " " + std::to_string(page.y + page.height / 2);
    if (!held.empty()) command += " keydown " + held;
    command += " click " + buttons;
    if (!held.empty()) command += " keyup " + held;
    ASSERT_EQ(std::system(command.c_str()), 0);
    Pump(300);
  }
  // The keyboard on the page, as after a click on it.
  void FocusPage() {
    View()->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == View(); }));
  }
  // Drags a file from a small window outside the reader onto the middle of the page, as from a
  // file manager, through the X server; true once the drag has ended.
  bool DragOntoPage(const std::string& file) {
    const wxRect page = View()->GetScreenRect();
    const wxSize screen = wxGetDisplaySize();
    const int x = screen.x - 130, y = screen.y - 90;  // the source's place, clear of the window
    const std::string ended = session->Folder() + "/drag-ended";
    std::remove(ended.c_str());
    const std::string drag =
        "timeout 60 " FOLIVO_DRAG_SOURCE " " + std::to_string(x) + " " + std::to_string(y) + " '" + file +
        "' & xdotool search --sync --onlyvisible --name '^Folivo drag source$' && xdotool mousemove --sync " +
        std::to_string(x + 60) + " " + std::to_string(y + 40) +
        " mousedown 1 sleep 0.2 mousemove_relative 10 10 sleep 0.2 mousemove " +
        std::to_string(page.x + page.width / 2) + " " + std::to_string(page.y + page.height / 2) +
        " sleep 0.3 mousemove_relative 5 5 sleep 0.3 mouseup 1; wait; touch '" + ended + "'";
    if (std::system(("(" + drag + ") >/dev/null 2>&1 &").c_str()) != 0) return false;
    return PumpUntil([&] { return fs::exists(ended); }, PageDeadline);
  }
  bool ZoomIs(float factor) {
    return PumpUntil([&] { return std::fabs(Page().Zoom() - factor) < 0.01f; }, ScriptDeadline);
  }
};

TEST_F(ReaderKeys, AltArrowsAltHomeAndTheMouseButtonsGoThroughTheWindowsHistory) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  Script("document.getElementById('editoriale').click()");
  ASSERT_TRUE(Shows(Korvex("pages/editoriale.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));

  FocusPage();
  Keys("alt+Left");
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  ASSERT_TRUE(HistoryReaches(2, 0));
  Buttons("9");  // forward
  ASSERT_TRUE(Shows(Korvex("pages/editoriale.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));
  Buttons("8");  // back
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  ASSERT_TRUE(HistoryReaches(2, 0));
  Keys("alt+Right");
  ASSERT_TRUE(Shows(Korvex("pages/editoriale.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));
  Keys("alt+Home");  // INDEX: a visit of its own
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  ASSERT_TRUE(HistoryReaches(3, 2));
  EXPECT_EQ(History().Entry(2), Korvex("index.htm"));
}

// A new issue starts at actual size; one read before comes back at the zoom it was left at.
TEST_F(ReaderKeys, ZoomByKeysAndCtrlWheelAndEachNewIssueStartsAtActualSize) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  FocusPage();
  Keys("ctrl+plus");
  EXPECT_TRUE(ZoomIs(1.1f));
  Buttons("4", "ctrl");  // wheel up
  EXPECT_TRUE(ZoomIs(1.25f));
  Keys("ctrl+0");
  EXPECT_TRUE(ZoomIs(1.0f));
  Keys("ctrl+minus");
  Buttons("--repeat 2 5", "ctrl");
  EXPECT_TRUE(ZoomIs(0.67f));
  const std::string copy = session->Folder() + "/copia.kvx";  // written now: another issue
  std::filesystem::copy_file(SampleIssue, copy, std::filesystem::copy_options::overwrite_existing);
  ASSERT_TRUE(OpenIssue(copy, "Korvex - numero 1"));
  EXPECT_TRUE(ZoomIs(1.0f));
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  EXPECT_TRUE(ZoomIs(0.67f));
}

TEST_F(ReaderKeys, FindBoxIgnoresCaseWrapsWithF3AndSaysWhenNothingIsFound) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  TFindBox& box = frame->Extras().FindBox();
  FocusPage();
  Keys("ctrl+f");
  ASSERT_TRUE(PumpUntil([&] { return box.IsShown(); }));
  box.Text()->SetValue("NUMERO 1");  // the page says "Numero 1", once
  EXPECT_EQ(box.Status(), "");
  // Counted before the box's own handler, bound earlier, takes them.
  auto searchKeys = std::make_shared<int>(0);
  frame->Bind(wxEVT_CHAR_HOOK, [searchKeys](wxKeyEvent& event) {
    *searchKeys += event.GetKeyCode() == WXK_F3;
    event.Skip();
  });
  Keys("F3 F3 shift+F3");
  ASSERT_TRUE(PumpUntil([&] { return *searchKeys == 3; }));
  EXPECT_EQ(box.Status(), "");
  // The engine answers a search that fails later, by a signal.
  box.Text()->SetValue("numero 9");
  EXPECT_TRUE(PumpUntil([&] { return box.Status() == "Not found"; }));
}

TEST_F(ReaderKeys, CtrlPShowsTheDesktopsPrintDialog) {
  // The dialog is modal: a helper outside the process waits for it and cancels it.
  const std::string seen = session->Folder() + "/print-dialog";
  // Escape goes to the dialog until it is gone: it may not take keys as soon as it is mapped.
  const std::string find = "xdotool search --onlyvisible --name '^Print$'";
  const std::string helper = "xdotool search --sync --onlyvisible --name '^Print$' > '" + seen +
                             "' && while " + find + " windowfocus --sync key Escape; do sleep 0.2; done";
  ASSERT_EQ(std::system(("(timeout 60 sh -c \"" + helper + "\") >/dev/null 2>&1 &").c_str()), 0);
  FocusPage();
  Keys("ctrl+p");
  EXPECT_TRUE(PumpUntil([&] { return fs::exists(seen) && fs::file_size(seen) > 0; }, PageDeadline));
}

TEST_F(ReaderKeys, DroppedIssueOpensWithoutTheDialogAndOtherDropsAreTold) {
  const std::string note = session->Folder() + "/note.txt";
  WriteBytes(note, "<html>not an issue</html>");
  ASSERT_TRUE(DragOntoPage(note));
  ASSERT_TRUE(PumpUntil([&] { return Shown("ShowMessage") == 1; }, ScriptDeadline));
  EXPECT_EQ(backend.shown.back().text, note + " cannot be opened: not an issue.");
  EXPECT_EQ(History().Count(), 1);
  EXPECT_TRUE(loaded->empty());

  ASSERT_TRUE(DragOntoPage(SampleIssue));
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  ASSERT_TRUE(HistoryReaches(1, 0));
  EXPECT_EQ(Shown("OpenDialog"), 0);
  EXPECT_EQ(Shown("MessageBox") + Shown("ShowMessage"), 1);
}

// Kills the page engine's web processes started below this one.
int KillWebProcesses() {
  int killed = 0;
  DIR* proc = opendir("/proc");
  while (dirent* entry = readdir(proc)) {
    const int pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    std::string comm;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/comm"), comm);
    if (comm.rfind("WebKitWebProces", 0) != 0) continue;
    for (int ancestor = pid; ancestor > 1;) {
      std::string stat;  // pid (comm) state ppid ...
      std::getline(std::ifstream("/proc/" + std::to_string(ancestor) + "/stat"), stat);
      const std::size_t close = stat.rfind(')');
      if (close == std::string::npos || std::sscanf(stat.c_str() + close + 1, " %*c %d", &ancestor) != 1)
        break;
      if (ancestor == getpid()) {
        killed += kill(pid, SIGKILL) == 0;
        break;
      }
    }
  }
  closedir(proc);
  return killed;
}

TEST_F(ReaderKeys, DeadPageEngineReloadsThePageOnceThenSaysSo) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  ASSERT_GT(KillWebProcesses(), 0);
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  EXPECT_EQ(Script("document.title"), "Korvex - numero 1");
  EXPECT_EQ(History().Count(), 1);
  EXPECT_EQ(History().Index(), 0);
  EXPECT_EQ(Shown("ShowMessage"), 0);

  ASSERT_GT(KillWebProcesses(), 0);
  ASSERT_TRUE(PumpUntil([&] { return Shown("ShowMessage") == 1; }, PageDeadline));
  Pump(1000);
  EXPECT_TRUE(loaded->empty());
  EXPECT_EQ(History().Count(), 1);

  Form().SpeedButton1Click();  // still usable
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));
}

// The keys of the reader's table, typed with the keyboard on the window (a click on the skin) and
// in the page (a click on it), on a page long enough to scroll.
TEST_F(ReaderKeys, EveryKeyWorksWhetherTheWindowOrThePageHasTheKeyboard) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  TFindBox& box = frame->Extras().FindBox();
  const std::string printSeen = session->Folder() + "/print-dialog-seen";
  for (const bool inPage : {false, true}) {
    SCOPED_TRACE(inPage ? "keyboard in the page" : "keyboard on the window");
    const auto focus = [&] {
      if (inPage) return FocusPage();
      gtk_window_set_focus(GTK_WINDOW(frame->GetHandle()), nullptr);
      ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() != View(); }));
    };
    Script("document.getElementById('editoriale').click()");
    ASSERT_TRUE(Shows(Korvex("pages/editoriale.htm")));
    focus();
    Keys("alt+Left");
    EXPECT_TRUE(Shows(Korvex("index.htm")));
    focus();
    Keys("alt+Right");
    EXPECT_TRUE(Shows(Korvex("pages/editoriale.htm")));
    focus();
    Keys("alt+Home");
    EXPECT_TRUE(Shows(Korvex("index.htm")));

    Script("document.body.style.height = '5000px'");
    focus();
    Keys("ctrl+plus");
    EXPECT_TRUE(ZoomIs(1.1f));
    Buttons("5", "ctrl");  // wheel down
    EXPECT_TRUE(ZoomIs(1.0f));
    focus();
    Keys("ctrl+minus");
    EXPECT_TRUE(ZoomIs(0.9f));
    Keys("ctrl+0");
    EXPECT_TRUE(ZoomIs(1.0f));
    EXPECT_EQ(Script("String(window.scrollY)"), "0");

    // "ria" is in Editoriale, then in Galleria.
    const auto selected = [&] { return Script("window.getSelection().anchorNode.parentNode.id"); };
    focus();
    Keys("ctrl+f");
    ASSERT_TRUE(PumpUntil([&] { return box.IsShown(); }));
    box.Text()->SetValue("ria");
    EXPECT_TRUE(PumpUntil([&] { return selected() == "editoriale"; }, ScriptDeadline));
    const auto boxKeys = [&](const std::string& keys) {
      ASSERT_EQ(std::system(
                    ("xdotool search --onlyvisible --name '^Find$' windowfocus --sync key " + keys).c_str()),
                0);
      Pump(300);
    };
    boxKeys("Return");
    EXPECT_TRUE(PumpUntil([&] { return selected() == "galleria"; }, ScriptDeadline));
    Keys("shift+F3");
    EXPECT_TRUE(PumpUntil([&] { return selected() == "editoriale"; }, ScriptDeadline));
    box.Text()->SetValue("");
    boxKeys("Escape");
    EXPECT_FALSE(box.IsShown());

    fs::remove(printSeen);
    ASSERT_EQ(std::system(("(timeout 60 xdotool search --sync --onlyvisible --name '^Print$' > '" +
                           printSeen + "' && sleep 0.5 && xdotool key Escape) &")
                              .c_str()),
              0);
    focus();
    Keys("ctrl+p");
    EXPECT_TRUE(
        PumpUntil([&] { return fs::exists(printSeen) && fs::file_size(printSeen) > 0; }, PageDeadline));
    Pump(1500);
  }
}

// Print to File starts in the user's documents folder (else the home folder), never in the working
// folder that an unpacked issue leaves current.
TEST_F(ReaderKeys, PrintToFileStartsOutsideTheWorkingFolder) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  ASSERT_EQ(chdir(Korvex("").c_str()), 0);
  GtkPrintSettings* settings = NewPrintSettings();
  const char* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
  gchar* expected = g_filename_to_uri(documents ? documents : g_get_home_dir(), nullptr, nullptr);
  const char* folder = gtk_print_settings_get(settings, GTK_PRINT_SETTINGS_OUTPUT_DIR);
  EXPECT_STREQ(folder, expected);
  EXPECT_EQ(std::string(folder ? folder : "").find("KORVEX"), std::string::npos);
  g_free(expected);
  g_object_unref(settings);
  ASSERT_EQ(chdir("/"), 0);
}
}  // namespace
