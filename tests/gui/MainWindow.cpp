// The real main window under Xvfb with WebKit: layout, skin painting, and the start page's
// before-navigate reaching the history.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include <cstdlib>
#include <string>

#include "app/core/IssueAddress.h"
#include "app/core/WorkingFolder.h"
#include "app/gtk/Artwork.h"
#include "app/gtk/MainFrame.h"
#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "platform/Folders.h"
#include "tests/gui/GuiSession.h"

namespace {
using gui::PumpUntil;
TScriptedBackend backend;
TMainFrame* frame = nullptr;
std::unique_ptr<TTempFolder> privateFolder;
std::string privateTemp;

class Window : public ::testing::Environment {
 public:
  void SetUp() override {
    privateFolder = gui::MakePrivateTemp();
    privateTemp = privateFolder->Path();
    ASSERT_TRUE(gui::StartWx("gui_MainWindow"));
    SetBackend(&backend);
    ASSERT_TRUE(InitializeMainUnit());
    Application.Title = "Korvex Folivo";
    frame = new TMainFrame;
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    ASSERT_TRUE(PumpUntil([] { return frame->IsShownOnScreen(); }));
  }
  void TearDown() override {
    frame->Close(true);
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(DirectoryExists(privateTemp + "/KORVEX"));
    gui::StopWx();
    FinalizeMainUnit();
    SetBackend(nullptr);
    privateFolder.reset();
  }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new Window);

TEST(MainWindow, FixedSizeWithTheBrowserInPlace) {
  EXPECT_EQ(frame->GetClientSize(), wxSize(789, 501));
  EXPECT_FALSE(frame->HasFlag(wxRESIZE_BORDER));
  EXPECT_FALSE(frame->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_EQ(frame->GetMinClientSize(), frame->GetMaxClientSize());
  frame->SetClientSize(900, 700);
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(frame->GetClientSize(), wxSize(789, 501));
  wxWindow* browser = frame->Browser().Control();
  EXPECT_EQ(browser->GetScreenPosition() - frame->ClientToScreen(wxPoint(0, 0)), wxPoint(85, 58));
  EXPECT_EQ(browser->GetSize(), wxSize(590, 340));
  EXPECT_FALSE(frame->URLs()->IsShown());
  EXPECT_FALSE(frame->URLs()->AcceptsFocus());
  EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(0), "&File");
  EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(2), "&?");
}

TEST(MainWindow, SkinShowsAroundTheGlyphsAndTheWindowColourAtTheEdges) {
  PumpUntil([] { return false; }, 500);
  const wxImage skin = DecodeJpeg(SkinJpeg, SkinJpeg_size);
  ASSERT_EQ(skin.GetSize(), wxSize(788, 500));
  wxBitmap grab(789, 501);
  {
    wxScreenDC screen;
    wxMemoryDC memory(grab);
    memory.Blit(0, 0, 789, 501, &screen, frame->Image1()->GetScreenPosition().x,
                frame->Image1()->GetScreenPosition().y);
  }
  const wxImage shot = grab.ConvertToImage();
  const auto near = [&](int x, int y) {
    return std::abs(shot.GetRed(x, y) - skin.GetRed(x, y)) < 8 &&
           std::abs(shot.GetGreen(x, y) - skin.GetGreen(x, y)) < 8 &&
           std::abs(shot.GetBlue(x, y) - skin.GetBlue(x, y)) < 8;
  };
  // Transparent corners of each glyph show the skin, never a button face.
  for (const auto& button : frame->Image1()->Buttons()) {
    const wxRect& r = button.bounds;
    EXPECT_TRUE(near(r.x + 1, r.GetBottom() - 1)) << button.name;
    EXPECT_TRUE(near(r.GetRight() - 1, r.y + 1)) << button.name;
  }
  EXPECT_TRUE(near(10, 10));
  const wxColour face = frame->Image1()->GetBackgroundColour();
  EXPECT_EQ(wxColour(shot.GetRed(788, 200), shot.GetGreen(788, 200), shot.GetBlue(788, 200)), face);
  EXPECT_EQ(wxColour(shot.GetRed(300, 500), shot.GetGreen(300, 500), shot.GetBlue(300, 500)), face);
}

TEST(MainWindow, StartPageIsTheFirstVisitAndTheLinksPageTheNext) {
  const TBrowsingHistory& history = frame->Form().History();
  ASSERT_TRUE(PumpUntil([&] { return history.Count() >= 1; }));
  EXPECT_EQ(history.Entry(0), WorkingFile("hhhome.htm"));
  EXPECT_EQ(history.Index(), 0);

  frame->Form().SpeedButton4Click();
  ASSERT_TRUE(PumpUntil([&] { return history.Count() >= 2; }));
  EXPECT_EQ(history.Entry(1), WorkingFile("kvxlnkk.htm"));
  EXPECT_EQ(history.Index(), 1);

  frame->Form().SpeedButton2Click();
  ASSERT_TRUE(PumpUntil([&] { return !history.BackPending(); }));
  EXPECT_EQ(history.Index(), 0);
  EXPECT_EQ(history.Count(), 2);
  EXPECT_EQ(frame->AddressText(), WorkingFile("hhhome.htm"));
}

TEST(MainWindow, HoversAndPressesLeaveTheHitAreasAsLaidOut) {
  TSkinPanel* skin = frame->Image1();
  const auto send = [skin](wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.SetEventObject(skin);
    skin->GetEventHandler()->ProcessEvent(event);
  };
  for (int i = 0; i < 20; ++i) {
    send(wxEVT_MOTION, 378, 468);  // over INDEX
    send(wxEVT_MOTION, 20, 20);
    send(wxEVT_LEFT_DOWN, 460, 470);  // press on Forward, let go beside it
    send(wxEVT_LEFT_UP, 600, 300);
  }
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(skin->Buttons()[0].bounds, wxRect(349, 458, 60, 22));
  EXPECT_EQ(skin->ButtonAt(wxPoint(348, 468)), -1);
  EXPECT_EQ(skin->ButtonAt(wxPoint(349, 468)), 0);
  EXPECT_EQ(skin->ButtonAt(wxPoint(408, 468)), 0);
  EXPECT_EQ(skin->ButtonAt(wxPoint(409, 468)), -1);
  EXPECT_EQ(skin->ButtonAt(wxPoint(447, 470)), -1);
  EXPECT_EQ(skin->ButtonAt(wxPoint(448, 470)), 2);
}

TEST(MainWindow, OnlyWebAndMailAddressesLeaveForTheDesktop) {
  const auto clicked = [](const std::string& url) { return NavigationVerdict(url, false); };
  EXPECT_EQ(clicked(PublisherAddress), TNavigationVerdict::HandOff);
  EXPECT_EQ(clicked("HTTPS://example.org/a"), TNavigationVerdict::HandOff);
  EXPECT_EQ(clicked("mailto:redazione@example.org"), TNavigationVerdict::HandOff);
  EXPECT_EQ(NavigationVerdict("mailto:redazione@example.org", true), TNavigationVerdict::Drop);
  EXPECT_EQ(clicked("ftp://example.org/a"), TNavigationVerdict::Drop);
  EXPECT_EQ(clicked("file://" + WorkingFile("run.desktop")), TNavigationVerdict::Drop);
  EXPECT_EQ(clicked(WorkingFile("index.htm")), TNavigationVerdict::Drop);
  EXPECT_EQ(clicked("javascript:alert(1)"), TNavigationVerdict::Load);
  EXPECT_EQ(clicked(""), TNavigationVerdict::Drop);
}
}  // namespace
