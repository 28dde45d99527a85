// The reader end to end under Xvfb: the real window, WebKit and the unzip library; only the modal
// dialogs are answered from a script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <tuple>

#include "classlib/Application.h"
#include "tests/gui/ReaderWindow.h"
#include "tests/support/LinksPage.h"

namespace fs = std::filesystem;

namespace {
using namespace gui;
using EndToEnd = ReaderWindowTest;
const std::string SampleIssue = FOLIVO_SOURCE_DIR "/samples/korvex-01.kvx";
const TReaderSession* const session = AddReaderSession("gui_EndToEnd");

TEST_F(EndToEnd, IndexAsksWhileNoIssueIsOpenAndGoesStraightThereOnceOneIs) {
  backend.messageDlgAnswers = {mrNo, mrNo};
  Form().Indice1Click();
  Form().SpeedButton1Click();
  ASSERT_EQ(backend.shown.size(), 2u);
  for (const auto& shown : backend.shown) {
    EXPECT_EQ(shown.kind, "MessageDlg");
    EXPECT_EQ(shown.text, "Aprire un numero di Korvex?");
    EXPECT_EQ(shown.caption, "Confirm");
  }
  gui::Pump(500);
  EXPECT_EQ(History().Count(), 1);
  EXPECT_EQ(frame->AddressText(), Korvex("hhhome.htm"));

  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  EXPECT_EQ(fs::file_size(Korvex("img/cover.png")), 8670u);
  EXPECT_TRUE(fs::is_regular_file(Korvex("pages/rubriche.htm")));

  const std::size_t asked = backend.shown.size();
  Form().Indice1Click();
  ASSERT_TRUE(HistoryReaches(2, 1));
  Form().SpeedButton1Click();
  ASSERT_TRUE(HistoryReaches(3, 2));
  EXPECT_TRUE(Shows(Korvex("index.htm")));
  EXPECT_EQ(History().Entry(2), Korvex("index.htm"));
  EXPECT_EQ(backend.shown.size(), asked);
}

// A page with frames is one visit: its frames load as parts of it, so Back and Forward reach the
// pages before and after it. A link the user follows in a frame is a visit of its own: Back comes
// back to the page with its frames as they first loaded, Forward to the followed document alone.
TEST_F(EndToEnd, FramesAndTheLinksPageThenBackAndForwardFollowTheHistory) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  const std::string frameset = Korvex("pages/rubriche.htm");
  const std::string followed = Korvex("pages/recensioni.htm");

  Script("document.getElementById('rubriche').click()");
  ASSERT_TRUE(Shows(frameset));
  ASSERT_TRUE(HistoryReaches(2, 1));
  EXPECT_EQ(History().Entry(1), frameset);
  EXPECT_EQ(Script("window.frames.length"), "2");

  const std::string links = Korvex("kvxlnkk.htm");
  Form().SpeedButton4Click();
  EXPECT_EQ(ReadBytes(links), LinksPageBytes);
  ASSERT_TRUE(Shows(links));
  ASSERT_TRUE(HistoryReaches(3, 2));
  EXPECT_EQ(History().Entry(2), links);
  EXPECT_EQ(Script("document.links[0].target"), "_new");

  // Back and Forward move the index only, across the frameset both ways.
  for (const auto& [back, page, index] :
       {std::tuple{true, frameset, 1}, std::tuple{true, Korvex("index.htm"), 0},
        std::tuple{false, frameset, 1}, std::tuple{false, links, 2}, std::tuple{true, frameset, 1}}) {
    back ? Form().SpeedButton2Click() : Form().SpeedButton3Click();
    ASSERT_TRUE(Shows(page));
    ASSERT_TRUE(HistoryReaches(3, index));
  }

  // A real click on the menu frame's link into the text frame: a visit that cuts off the links page.
  const std::string at = Script(
      "var f = document.getElementsByTagName('frame')[0].getBoundingClientRect();"
      "var r = frames[0].document.getElementById('recensioni').getBoundingClientRect();"
      "Math.round(f.left + r.left + r.width / 2) + ' ' + Math.round(f.top + r.top + r.height / 2)");
  ClickPage(std::stoi(at), std::stoi(at.substr(at.find(' '))));
  ASSERT_TRUE(HistoryReaches(3, 2));
  EXPECT_EQ(History().Entry(2), followed);
  EXPECT_TRUE(PumpUntil([&] { return Script("frames[1].location.pathname") == "/pages/recensioni.htm"; }));
  EXPECT_EQ(ShownAddress(), frameset);
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(frameset));
  ASSERT_TRUE(HistoryReaches(3, 1));
  Form().SpeedButton3Click();
  ASSERT_TRUE(Shows(followed));
  ASSERT_TRUE(HistoryReaches(3, 2));
  EXPECT_EQ(Shown("MessageBox") + Shown("ShowMessage"), 0);
}

// Back from a page with one frame reaches the page before it, and Forward comes back to it.
TEST_F(EndToEnd, BackFromAPageWithOneFrameReachesThePageBefore) {
  const std::string folder = session->Folder() + "/cornice";
  fs::create_directories(folder);
  WriteBytes(folder + "/index.htm", "<title>cornice</title><a id=uno href=uno.htm>uno</a>");
  WriteBytes(folder + "/uno.htm", "<title>uno</title><iframe src=dentro.htm></iframe>");
  WriteBytes(folder + "/dentro.htm", "<title>dentro</title>");
  ASSERT_EQ(std::system(("cd '" + folder + "' && zip -q -r ../cornice.kvx .").c_str()), 0);
  ASSERT_TRUE(OpenIssue(folder + ".kvx", "cornice"));
  Script("document.getElementById('uno').click()");
  ASSERT_TRUE(Shows(Korvex("uno.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));
  gui::Pump(1000);
  EXPECT_EQ(History().Count(), 2);

  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  ASSERT_TRUE(HistoryReaches(2, 0));
  Form().SpeedButton3Click();
  ASSERT_TRUE(Shows(Korvex("uno.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));
}

TEST_F(EndToEnd, SpannedSetOpenedFromItsLastPartIsJoinedUnpackedAndShown) {
  const std::string folder = session->Folder() + "/set";
  fs::create_directories(folder + "/tree");
  WriteBytes(folder + "/tree/index.htm",
             "<HTML><HEAD><TITLE>Korvex - in tre parti</TITLE></HEAD><BODY>Tre parti</BODY></HTML>\r\n");
  std::string noise(150000, '\0');
  std::mt19937 random(7);
  for (char& c : noise) c = static_cast<char>(random());
  WriteBytes(folder + "/tree/noise.bin", noise);
  ASSERT_EQ(std::system(("cd '" + folder + "/tree' && zip -q -r -s 64k ../numero.zip .").c_str()), 0);
  ASSERT_TRUE(fs::exists(folder + "/numero.z02"));
  ASSERT_FALSE(fs::exists(folder + "/numero.z03"));
  fs::rename(folder + "/numero.z01", folder + "/numero001.zip");
  fs::rename(folder + "/numero.z02", folder + "/numero002.zip");
  fs::rename(folder + "/numero.zip", folder + "/numero003.zip");
  const std::set<std::string> before = FilesIn(session->Folder());

  ASSERT_TRUE(OpenIssue(folder + "/numero003.zip", "Korvex - in tre parti"));
  EXPECT_EQ(ReadBytes(Korvex("noise.bin")), noise);
  EXPECT_EQ(FilesIn(session->Folder()), before);  // the joined archive is gone
  EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"numero001.zip", "numero002.zip", "numero003.zip"}));
  fs::remove_all(folder);
}

TEST_F(EndToEnd, EsciRemovesTheWorkingFolderWithTheIssueInIt) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  ASSERT_TRUE(fs::is_regular_file(Korvex("pages/menu.htm")));
  Form().Exit1Click();
  ASSERT_TRUE(PumpUntil([this] { return !frame; }));
  EXPECT_FALSE(fs::exists(session->Folder() + "/KORVEX"));
  EXPECT_TRUE(fs::is_directory(session->Folder()));
}
TEST_F(EndToEnd, ASecondIssueShowsItsOwnStyleSheetAndPictures) {
  const auto issue = [](const std::string& name, const std::string& colour, int width) {
    const std::string folder = session->Folder() + "/" + name;
    fs::create_directories(folder);
    WriteBytes(folder + "/index.htm", "<HTML><HEAD><TITLE>" + name +
                                          "</TITLE><LINK REL=stylesheet HREF=s.css></HEAD>"
                                          "<BODY><IMG ID=p SRC=p.bmp></BODY></HTML>");
    WriteBytes(folder + "/s.css", "body { background: " + colour + " }");
    wxImage(width, 4).SaveFile(wxString::FromUTF8(folder + "/p.bmp"), wxBITMAP_TYPE_BMP);
    const std::string archive = folder + ".kvx";
    EXPECT_EQ(std::system(("cd '" + folder + "' && zip -q -r '" + archive + "' .").c_str()), 0);
    return archive;
  };
  ASSERT_TRUE(OpenIssue(issue("rosso", "red", 10), "rosso"));
  ASSERT_EQ(Script("getComputedStyle(document.body).backgroundColor"), "rgb(255, 0, 0)");
  ASSERT_EQ(Script("document.getElementById('p').naturalWidth"), "10");
  ASSERT_TRUE(OpenIssue(issue("blu", "blue", 20), "blu"));
  EXPECT_EQ(Script("getComputedStyle(document.body).backgroundColor"), "rgb(0, 0, 255)");
  EXPECT_EQ(Script("document.getElementById('p').naturalWidth"), "20");
}

TEST_F(EndToEnd, LinksForANewWindowOpenIssuePagesHereAndNothingOutsideIt) {
  const std::string folder = session->Folder() + "/nuova";
  fs::create_directories(folder);
  WriteBytes(folder + "/index.htm",
             "<HTML><HEAD><TITLE>nuova</TITLE></HEAD><BODY>"
             "<A ID=here HREF=\"pagina.htm\" TARGET=\"_blank\">qui</A>"
             "<A ID=outside HREF=\"file:///etc/hostname\" TARGET=\"_new\">fuori</A></BODY></HTML>");
  WriteBytes(folder + "/pagina.htm", "<HTML><HEAD><TITLE>pagina</TITLE></HEAD><BODY>p</BODY></HTML>");
  ASSERT_EQ(std::system(("cd '" + folder + "' && zip -q -r ../nuova.kvx .").c_str()), 0);
  ASSERT_TRUE(OpenIssue(session->Folder() + "/nuova.kvx", "nuova"));

  Script("document.getElementById('outside').click()");
  gui::Pump(1000);
  EXPECT_TRUE(loaded->empty());
  EXPECT_EQ(History().Count(), 1);

  Script("document.getElementById('here').click()");
  ASSERT_TRUE(Shows(Korvex("pagina.htm")));
  ASSERT_TRUE(HistoryReaches(2, 1));
  EXPECT_EQ(History().Entry(1), Korvex("pagina.htm"));
  EXPECT_EQ(Script("document.title"), "pagina");
}

TEST_F(EndToEnd, AForcedCloseDuringTheUnpackingWaitsForItAndThenClosesTheWindow) {
  bool unpacking = false;
  backend.onProcessMessages = [&] {
    if (unpacking || !Form().ZipComponent1().InOperation()) return;
    unpacking = true;
    frame->Close(true);  // as the session's end does: it cannot be vetoed
    EXPECT_TRUE(frame);
    EXPECT_TRUE(History().Created());
  };
  backend.openDialogAnswers = {SampleIssue};
  Form().Apri1Click();
  EXPECT_TRUE(unpacking);
  ASSERT_TRUE(PumpUntil([this] { return !frame; }));
  EXPECT_FALSE(fs::exists(session->Folder() + "/KORVEX"));
}
}  // namespace
