#pragma once
// The reader's real window for a test: its page view's pages and scripts waited for with deadlines,
// the unzip library of the build, and modal dialogs answered from a script.
#include <gtest/gtest.h>
#include <wx/weakref.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/WorkingFolder.h"
#include "app/engine/EngineFiles.h"
#include "app/engine/PageAddress.h"
#include "app/gtk/MainFrame.h"
#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "classlib/wx/WxBackend.h"
#include "tests/gui/GuiSession.h"

namespace gui {

// One test program's session: a private temporary folder as the program's temp path, and wx
// started under the reader's title. Its folder is removed, with what the toolkit kept there.
class TReaderSession : public ::testing::Environment {
 public:
  explicit TReaderSession(const char* programName) : FProgramName(programName) {}
  void SetUp() override {
    FFolder = MakePrivateTemp();
    setenv("GSETTINGS_BACKEND", "memory", 1);
    KeepEngineFilesIn(FFolder->Path() + "/");  // as the program does before the toolkit starts
    ASSERT_TRUE(StartWx(FProgramName));
    Application.Title = "Korvex Folivo";
  }
  void TearDown() override {
    StopWx();
    RemoveEngineFiles();
    FFolder.reset();
  }
  const std::string& Folder() const { return FFolder->Path(); }

 private:
  const char* FProgramName;
  std::unique_ptr<TTempFolder> FFolder;
};

// Registers a test program's session with the test framework, which owns it.
inline TReaderSession* AddReaderSession(const char* programName) {
  auto* session = new TReaderSession(programName);
  ::testing::AddGlobalTestEnvironment(session);
  return session;
}

constexpr int PageDeadline = 60000;  // WebKit under Xvfb on a loaded machine
constexpr int ScriptDeadline = 20000;

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

// The regular files directly in a folder.
inline std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) names.insert(entry.path().filename().string());
  return names;
}

// One reader window per test, on the private temporary folder of the run, its library the build's.
class ReaderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ASSERT_TRUE(InitializeMainUnit());
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    ASSERT_EQ(TempPath(), std::string(runtime) + "/");
    // What one test's reader keeps between runs is not the next test's.
    setenv("XDG_STATE_HOME", stateFolder.Path().c_str(), 1);
    frame = new TMainFrame;
    frame->Form().ZipComponent1().SetDLLDirectory(FOLIVO_BIN_DIR);
    // The watcher holds the records, not the test: a late load never reaches a finished test.
    Page().WatchLoads([loaded = loaded](const std::string& uri) { loaded->push_back(ReportedAddress(uri)); });
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
  // The page view's window, and the page view itself.
  wxWindow* View() { return frame->Browser().Control(); }
  TPageView& Page() { return frame->Browser().Page(); }

  // Keys typed on the main window through the X server, as xdotool names them.
  void Keys(const std::string& keys) {
    ASSERT_EQ(
        std::system(
            ("xdotool search --onlyvisible --name '^Korvex Folivo$' windowfocus --sync key " + keys).c_str()),
        0);
    Pump(300);
  }

  // A real click of the mouse at a point of the page; the pointer comes from elsewhere, since a
  // move that waits for the pointer to arrive would wait for ever where it already is.
  void ClickPage(int x, int y) {
    const wxRect page = View()->GetScreenRect();
    ASSERT_EQ(std::system(("xdotool search --onlyvisible --name '^Korvex Folivo$' windowfocus --sync "
                           "mousemove 0 0 mousemove --sync " +
                           std::to_string(page.x + x) + " " + std::to_string(page.y + y) + " click 1")
                              .c_str()),
              0);
  }
  // The page's value of a script expression, waited for with a deadline.
  std::string Script(const std::string& expression) {
    const std::intptr_t id = ++scriptsRun;
    Page().RunScript(expression, [id, results = scriptResults](bool ok, const std::string& text) {
      (*results)[id] = ok ? text : "error: " + text;
    });
    if (!PumpUntil([&] { return scriptResults->count(id) > 0; }, ScriptDeadline)) return "timed out";
    return scriptResults->at(id);
  }

  // True once WebKit has finished loading the file as its top page; takes the loads seen so far.
  bool Shows(const std::string& path) {
    const bool done = PumpUntil(
        [&] { return !loaded->empty() && loaded->back() == path && !Page().Loading(); }, PageDeadline);
    if (done) loaded->clear();
    return done;
  }

  std::string ShownAddress() { return ReportedAddress(Page().Uri()); }

  bool HistoryReaches(int count, int index) {
    return PumpUntil([&] { return History().Count() == count && History().Index() == index; }, PageDeadline);
  }

  int Shown(const std::string& kind) const {
    int count = 0;
    for (const auto& shown : backend.shown) count += shown.kind == kind;
    return count;
  }

  // Apri1Click with the open dialog answering the file: the issue is unpacked without a report
  // and its index becomes the first page of a new history.
  ::testing::AssertionResult OpenIssue(const std::string& file, const std::string& title) {
    backend.openDialogAnswers.push_back(file);
    Form().Apri1Click();
    if (!Shows(Korvex("index.htm"))) return ::testing::AssertionFailure() << "index.htm never shown";
    if (!HistoryReaches(1, 0)) return ::testing::AssertionFailure() << "the history did not start anew";
    if (History().Entry(0) != Korvex("index.htm"))
      return ::testing::AssertionFailure() << "recorded " << History().Entry(0);
    if (Form().ZipComponent1().LastErrorCode() != 0 || Shown("MessageBox") + Shown("ShowMessage") > 0)
      return ::testing::AssertionFailure() << "reported: " << Form().ZipComponent1().LastMessage();
    if (Script("document.title") != title)
      return ::testing::AssertionFailure() << "title " << Script("document.title");
    return ::testing::AssertionSuccess();
  }

  TWindowBackend backend;
  TTempFolder stateFolder;
  wxWeakRef<TMainFrame> frame;
  std::shared_ptr<std::vector<std::string>> loaded = std::make_shared<std::vector<std::string>>();
  std::shared_ptr<std::map<std::intptr_t, std::string>> scriptResults =
      std::make_shared<std::map<std::intptr_t, std::string>>();
  std::intptr_t scriptsRun = 0;
};

}  // namespace gui
