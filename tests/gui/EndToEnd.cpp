// The reader end to end under Xvfb: the real window, WebKit and the unzip library; only the modal
// dialogs are answered from a script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>

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

TEST_F(EndToEnd, FramesAndTheLinksPageThenBackAndForwardFollowTheHistory) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  const std::string frameset = Korvex("pages/rubriche.htm");
  const std::set<std::string> frames = {Korvex("pages/menu.htm"), Korvex("pages/lettere.htm")};

  // A link to the frameset: the page and each of its two frames are visits.
  Script("document.getElementById('rubriche').click()");
  ASSERT_TRUE(Shows(frameset));
  ASSERT_TRUE(HistoryReaches(4, 3));
  EXPECT_EQ(History().Entry(1), frameset);
  EXPECT_EQ((std::set{History().Entry(2), History().Entry(3)}), frames);
  EXPECT_EQ(Script("window.frames.length"), "2");
  const std::string firstFrame = History().Entry(2), secondFrame = History().Entry(3);

  const std::string links = Korvex("kvxlnkk.htm");
  Form().SpeedButton4Click();
  EXPECT_EQ(ReadBytes(links), LinksPageBytes);
  ASSERT_TRUE(Shows(links));
  ASSERT_TRUE(HistoryReaches(5, 4));
  EXPECT_EQ(History().Entry(4), links);
  EXPECT_EQ(Script("document.links[0].target"), "_new");

  // Back and Forward between recorded pages move the index only.
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(secondFrame));
  ASSERT_TRUE(HistoryReaches(5, 3));
  Form().SpeedButton3Click();
  ASSERT_TRUE(Shows(links));
  ASSERT_TRUE(HistoryReaches(5, 4));
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(secondFrame));
  ASSERT_TRUE(HistoryReaches(5, 3));
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(firstFrame));
  ASSERT_TRUE(HistoryReaches(5, 2));

  // Back onto the frameset: the page takes the flag, its frames are new visits that cut off the
  // frames and the links page ahead of it.
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(frameset));
  ASSERT_TRUE(HistoryReaches(4, 3));
  EXPECT_EQ(History().Entry(1), frameset);
  EXPECT_EQ((std::set{History().Entry(2), History().Entry(3)}), frames);
  EXPECT_FALSE(History().BackPending());

  // Nothing lies ahead any more.
  Form().SpeedButton3Click();
  EXPECT_FALSE(History().ForwardPending());
  gui::Pump(1000);
  EXPECT_EQ(History().Count(), 4);
  EXPECT_EQ(History().Index(), 3);
  EXPECT_TRUE(loaded->empty());
  EXPECT_EQ(ShownAddress(), frameset);
  EXPECT_EQ(Shown("MessageBox") + Shown("ShowMessage"), 0);
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
