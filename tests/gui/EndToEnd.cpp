// The reader end to end under Xvfb: the real window, WebKit and the unzip library; only the modal
// dialogs are answered from a script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include <wx/weakref.h>

#include "app/MainFrame.h"
#include "app/WorkingFolder.h"
#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "classlib/wx/WxBackend.h"
#include "tests/gui/GuiSession.h"

namespace fs = std::filesystem;
using gui::PumpUntil;

namespace {
constexpr int PageDeadline = 60000;  // WebKit under Xvfb on a loaded machine
const std::string SampleIssue = FOLIVO_SOURCE_DIR "/samples/korvex-01.kvx";
std::string privateTemp;

// Answers the modal dialogs from the script; message processing and the cursor are the window's.
class TWindowBackend : public TScriptedBackend {
 public:
  void ProcessMessages() override {
    TScriptedBackend::ProcessMessages();
    FWx.ProcessMessages();
  }
  void SetBusyCursor(bool busy) override {
    TScriptedBackend::SetBusyCursor(busy);
    FWx.SetBusyCursor(busy);
  }
  void* MainWindowHandle() override { return FWx.MainWindowHandle(); }

 private:
  TWxBackend FWx;
};

class Session : public ::testing::Environment {
 public:
  void SetUp() override {
    privateTemp = gui::MakePrivateTemp("e2e");
    ASSERT_FALSE(privateTemp.empty());
    ASSERT_TRUE(gui::StartWx("gui_EndToEnd"));
    Application.Title = "Korvex Folivo";
  }
  void TearDown() override {
    gui::StopWx();
    fs::remove_all(privateTemp);  // with whatever the toolkit kept in its runtime folder
  }
};
const auto* const session = ::testing::AddGlobalTestEnvironment(new Session);

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

std::string LinksPage() {
  const std::string lines[] = {
      "<HTML>",
      "<HEAD>",
      "</HEAD>",
      "<BODY BGCOLOR=#000000 LINK=#DDFF00 VLINK=#DDFF00 ALINK=#00FF00>",
      "<P ALIGN=\"CENTER\">",
      "<FONT SIZE=\"5\" FACE=\"Verdana, arial, sans-serif\" COLOR=#DDFF00>",
      "<BR><BR><BR><BR><BR>",
      "<A HREF=\"" + std::string(PublisherAddress) + "\" TARGET=\"_new\">",
      "<I>Connetti a Astralume</A></I></FONT></P>",
      "</BODY></HTML>"};
  std::string page;
  for (const std::string& line : lines) page += line + "\r\n";
  return page;
}

// The regular files directly in a folder.
std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) names.insert(entry.path().filename().string());
  return names;
}

// One window per test, on the private temporary folder of the run.
class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ASSERT_TRUE(InitializeMainUnit());
    ASSERT_EQ(TempPath(), privateTemp + "/");
    frame = new TMainFrame;
    frame->Form().ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
    wxTheApp->SetTopWindow(frame);
    frame->Show();
    ASSERT_TRUE(Shows(Korvex("hhhome.htm")));
    ASSERT_EQ(History().Count(), 1);
  }
  void TearDown() override {
    if (frame) {
      frame->Close(true);
      PumpUntil([this] { return !frame; });
    }
    FinalizeMainUnit();
    SetBackend(nullptr);
  }

  static std::string Korvex(const std::string& name) { return WorkingFile(name); }
  TMainForm& Form() { return frame->Form(); }
  const TBrowsingHistory& History() { return frame->Form().History(); }
  wxWebView* View() { return frame->Browser().Control(); }

  // The page's value of a script expression; "" when the script fails.
  std::string Script(const std::string& expression) {
    wxString output;
    return View()->RunScript(expression, &output) ? output.utf8_string() : "";
  }

  // True once WebKit has finished loading the file as its top page.
  bool Shows(const std::string& path) {
    return PumpUntil(
        [&] {
          return !View()->IsBusy() && TWebBrowser::ReportedAddress(View()->GetCurrentURL()) == path &&
                 Script("document.readyState") == "complete";
        },
        PageDeadline);
  }

  bool HistoryReaches(int count, int index) {
    return PumpUntil([&] { return History().Count() == count && History().Index() == index; }, PageDeadline);
  }

  int Shown(const std::string& kind) const {
    int count = 0;
    for (const auto& shown : backend.shown) count += shown.kind == kind;
    return count;
  }

  // Apri1Click with the open dialog answering the file: the issue is unpacked without a report
  // and its index becomes the current page.
  ::testing::AssertionResult OpenIssue(const std::string& file, const std::string& title) {
    const int visits = History().Count();
    backend.openDialogAnswers.push_back(file);
    Form().Apri1Click();
    if (!Shows(Korvex("index.htm"))) return ::testing::AssertionFailure() << "index.htm never shown";
    if (!HistoryReaches(visits + 1, visits)) return ::testing::AssertionFailure() << "not one visit more";
    if (History().Entry(visits) != Korvex("index.htm"))
      return ::testing::AssertionFailure() << "recorded " << History().Entry(visits);
    if (Form().ZipComponent1().LastErrorCode != 0 || Shown("MessageBox") + Shown("ShowMessage") > 0)
      return ::testing::AssertionFailure() << "reported: " << Form().ZipComponent1().LastMessage;
    if (Script("document.title") != title) return ::testing::AssertionFailure() << "title " << Script("document.title");
    return ::testing::AssertionSuccess();
  }

  TWindowBackend backend;
  wxWeakRef<TMainFrame> frame;
};

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
  ASSERT_TRUE(HistoryReaches(3, 2));
  Form().SpeedButton1Click();
  ASSERT_TRUE(HistoryReaches(4, 3));
  EXPECT_TRUE(Shows(Korvex("index.htm")));
  EXPECT_EQ(History().Entry(3), Korvex("index.htm"));
  EXPECT_EQ(backend.shown.size(), asked);
}

TEST_F(EndToEnd, FramesAndTheLinksPageThenBackAndForwardFollowTheHistory) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  const std::string frameset = Korvex("pages/rubriche.htm");
  const std::set<std::string> frames = {Korvex("pages/menu.htm"), Korvex("pages/lettere.htm")};

  // A link to the frameset: the page and each of its two frames are visits.
  Script("document.getElementById('rubriche').click()");
  ASSERT_TRUE(Shows(frameset));
  ASSERT_TRUE(HistoryReaches(5, 4));
  EXPECT_EQ(History().Entry(2), frameset);
  EXPECT_EQ((std::set{History().Entry(3), History().Entry(4)}), frames);
  EXPECT_EQ(Script("window.frames.length"), "2");
  const std::string firstFrame = History().Entry(3), secondFrame = History().Entry(4);

  const std::string links = Korvex("kvxlnkk.htm");
  Form().SpeedButton4Click();
  EXPECT_EQ(ReadFile(links), LinksPage());
  ASSERT_TRUE(Shows(links));
  ASSERT_TRUE(HistoryReaches(6, 5));
  EXPECT_EQ(History().Entry(5), links);
  EXPECT_EQ(Script("document.links[0].target"), "_new");

  // Back and Forward between recorded pages move the index only.
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(secondFrame));
  ASSERT_TRUE(HistoryReaches(6, 4));
  Form().SpeedButton3Click();
  ASSERT_TRUE(Shows(links));
  ASSERT_TRUE(HistoryReaches(6, 5));
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(secondFrame));
  ASSERT_TRUE(HistoryReaches(6, 4));
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(firstFrame));
  ASSERT_TRUE(HistoryReaches(6, 3));

  // Back onto the frameset: the page takes the flag, its frames are new visits that cut off the
  // frames and the links page ahead of it.
  Form().SpeedButton2Click();
  ASSERT_TRUE(Shows(frameset));
  ASSERT_TRUE(HistoryReaches(5, 4));
  EXPECT_EQ(History().Entry(2), frameset);
  EXPECT_EQ((std::set{History().Entry(3), History().Entry(4)}), frames);
  EXPECT_FALSE(History().BackPending());

  // Nothing lies ahead any more.
  Form().SpeedButton3Click();
  EXPECT_FALSE(History().ForwardPending());
  gui::Pump(1000);
  EXPECT_EQ(History().Count(), 5);
  EXPECT_EQ(History().Index(), 4);
  EXPECT_TRUE(Shows(frameset));
  EXPECT_EQ(Shown("MessageBox") + Shown("ShowMessage"), 0);
}

TEST_F(EndToEnd, SpannedSetOpenedFromItsLastPartIsJoinedUnpackedAndShown) {
  const std::string folder = privateTemp + "/set";
  fs::create_directories(folder + "/tree");
  WriteFile(folder + "/tree/index.htm",
            "<HTML><HEAD><TITLE>Korvex - in tre parti</TITLE></HEAD><BODY>Tre parti</BODY></HTML>\r\n");
  std::string noise(150000, '\0');
  std::mt19937 random(7);
  for (char& c : noise) c = static_cast<char>(random());
  WriteFile(folder + "/tree/noise.bin", noise);
  ASSERT_EQ(std::system(("cd '" + folder + "/tree' && zip -q -r -s 64k ../numero.zip .").c_str()), 0);
  ASSERT_TRUE(fs::exists(folder + "/numero.z02"));
  ASSERT_FALSE(fs::exists(folder + "/numero.z03"));
  fs::rename(folder + "/numero.z01", folder + "/numero001.zip");
  fs::rename(folder + "/numero.z02", folder + "/numero002.zip");
  fs::rename(folder + "/numero.zip", folder + "/numero003.zip");
  const std::set<std::string> before = FilesIn(privateTemp);

  ASSERT_TRUE(OpenIssue(folder + "/numero003.zip", "Korvex - in tre parti"));
  EXPECT_EQ(ReadFile(Korvex("noise.bin")), noise);
  EXPECT_EQ(FilesIn(privateTemp), before);  // the joined archive is gone
  EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"numero001.zip", "numero002.zip", "numero003.zip"}));
  fs::remove_all(folder);
}

TEST_F(EndToEnd, EsciRemovesTheWorkingFolderWithTheIssueInIt) {
  ASSERT_TRUE(OpenIssue(SampleIssue, "Korvex - numero 1"));
  ASSERT_TRUE(fs::is_regular_file(Korvex("pages/menu.htm")));
  Form().Exit1Click();
  ASSERT_TRUE(PumpUntil([this] { return !frame; }));
  EXPECT_FALSE(fs::exists(privateTemp + "/KORVEX"));
  EXPECT_TRUE(fs::is_directory(privateTemp));
}
}  // namespace
