// Pages that try to hold the reader, a script loop or dialogs without end: the page the user asks
// for with INDEX, Back or Apri comes all the same, on a new web process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/gui/ReaderWindow.h"

namespace fs = std::filesystem;

namespace {
using namespace gui;
const TReaderSession* const session = AddReaderSession("gui_PageTraps");

// An issue whose pages start their trap once shown.
std::string TrapIssue() {
  const std::string tree = session->Folder() + "/traps";
  const std::string issue = session->Folder() + "/traps.kvx";
  if (fs::exists(issue)) return issue;
  fs::create_directories(tree);
  WriteBytes(tree + "/index.htm", "<html><head><title>indice</title></head><body>indice</body></html>");
  WriteBytes(tree + "/dialogs.htm",
             "<html><body><script>setTimeout(function() { while (true) { alert('a'); confirm('b'); } }, 0)"
             "</script></body></html>");
  WriteBytes(tree + "/loop.htm",
             "<html><body><script>setTimeout(function() { while (true) {} }, 0)</script></body></html>");
  EXPECT_EQ(std::system(("cd '" + tree + "' && zip -q -r ../traps.kvx .").c_str()), 0);
  return issue;
}

class PageTraps : public ReaderWindowTest {
 protected:
  // The page is followed from the index as a link would be, and its trap given time to start.
  void EnterTrap(const std::string& page, int count) {
    Script("location = '" + page + "'");
    ASSERT_TRUE(HistoryReaches(count, count - 1));
    ASSERT_EQ(History().Entry(count - 1), Korvex(page));
    Pump(1000);
  }
  ::testing::AssertionResult IndexBackAndAlive() {
    if (!Shows(Korvex("index.htm"))) return ::testing::AssertionFailure() << "index.htm never shown";
    if (Script("document.title") != "indice") return ::testing::AssertionFailure() << "no script answers";
    return ::testing::AssertionSuccess();
  }
};

TEST_F(PageTraps, IndexEndsADialogLoop) {
  ASSERT_TRUE(OpenIssue(TrapIssue(), "indice"));
  EnterTrap("dialogs.htm", 2);
  Form().SpeedButton1Click();
  EXPECT_TRUE(IndexBackAndAlive());
  EXPECT_TRUE(HistoryReaches(3, 2));
}

TEST_F(PageTraps, BackForwardAndApriEndAScriptLoop) {
  ASSERT_TRUE(OpenIssue(TrapIssue(), "indice"));
  EnterTrap("loop.htm", 2);
  Form().SpeedButton2Click();
  EXPECT_TRUE(IndexBackAndAlive());
  EXPECT_TRUE(HistoryReaches(2, 0));

  Form().SpeedButton3Click();
  ASSERT_TRUE(HistoryReaches(2, 1));
  Pump(1000);
  // Another issue: the same one would go on at the page it was left at.
  const std::string other = session->Folder() + "/other-traps.kvx";
  fs::copy_file(TrapIssue(), other, fs::copy_options::overwrite_existing);
  backend.openDialogAnswers.push_back(other);
  Form().Apri1Click();
  EXPECT_TRUE(IndexBackAndAlive());
  EXPECT_TRUE(HistoryReaches(1, 0));
}
}  // namespace
