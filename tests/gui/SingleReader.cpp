// One reader per session, with the real program as the later start: it never runs a second
// reader on the working folder, it hands its issue to the running one and ends; a reader that was
// killed leaves no lock behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <memory>

#include "app/core/ReaderInstance.h"
#include "app/gtk/IssueHandover.h"
#include "tests/gui/ReaderWindow.h"

namespace fs = std::filesystem;

namespace {
using namespace gui;
const TReaderSession* const session = AddReaderSession("gui_SingleReader");

pid_t StartReader(const std::vector<std::string>& arguments, const std::string& runtimeDir) {
  std::vector<std::string> words{FOLIVO_BIN_DIR "/folivo"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment{"XDG_RUNTIME_DIR=" + runtimeDir};
  for (const char* name : {"DISPLAY", "XAUTHORITY", "HOME", "PATH"})
    if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
  std::vector<char*> argv, envp;
  for (std::string& word : words) argv.push_back(word.data());
  for (std::string& entry : environment) envp.push_back(entry.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t child = -1;
  return posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0 ? child : -1;
}

// The exit status of a start, while this reader answers it; -1 when it did not end in time.
int ExitOf(pid_t child) {
  int status = 0;
  if (!PumpUntil([&] { return waitpid(child, &status, WNOHANG) == child; }, PageDeadline)) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SingleReader : public ReaderWindowTest {
 protected:
  void SetUp() override {
    ReaderWindowTest::SetUp();
    instance = std::make_unique<TReaderInstance>(TempPath());
    ASSERT_EQ(instance->Claim(""), TReaderInstance::TClaim::First);
    handover = std::make_unique<TIssueHandover>(*frame, instance->ListeningSocket());
  }
  void TearDown() override {
    handover.reset();
    instance.reset();
    ReaderWindowTest::TearDown();
  }
  std::unique_ptr<TReaderInstance> instance;
  std::unique_ptr<TIssueHandover> handover;
};

TEST_F(SingleReader, ALaterStartLeavesTheFolderAloneAndHandsOverItsIssue) {
  EXPECT_EQ(ExitOf(StartReader({}, session->Folder())), 0);
  Pump(500);
  EXPECT_TRUE(fs::exists(Korvex("hhhome.htm")));
  EXPECT_EQ(ShownAddress(), Korvex("hhhome.htm"));

  const std::string uri = "file://" FOLIVO_SOURCE_DIR "/samples/korvex-01.kvx";
  EXPECT_EQ(ExitOf(StartReader({uri}, session->Folder())), 0);
  ASSERT_TRUE(Shows(Korvex("index.htm")));
  EXPECT_EQ(Script("document.title"), "Korvex - numero 1");
  EXPECT_EQ(Shown("MessageBox") + Shown("ShowMessage"), 0);

  // A file that is no issue is refused, and the window says why.
  EXPECT_EQ(ExitOf(StartReader({FOLIVO_SOURCE_DIR "/README.md"}, session->Folder())), 1);
  EXPECT_TRUE(PumpUntil([&] { return Shown("ShowMessage") == 1; }, ScriptDeadline));
  EXPECT_EQ(backend.shown.back().text, FOLIVO_SOURCE_DIR "/README.md cannot be opened: not an issue.");
  EXPECT_EQ(History().Count(), 1);
}

TEST(KilledReader, LeavesNoLockThatALaterStartObeys) {
  TTempFolder runtime;
  const std::string page = runtime / "KORVEX/hhhome.htm";
  const pid_t killed = StartReader({}, runtime.Path());
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(page); }, PageDeadline));
  kill(killed, SIGKILL);
  waitpid(killed, nullptr, 0);
  fs::remove(page);
  const pid_t next = StartReader({}, runtime.Path());
  EXPECT_TRUE(PumpUntil([&] { return fs::exists(page); }, PageDeadline));
  kill(next, SIGTERM);
  EXPECT_EQ(ExitOf(next), 0);
}
}  // namespace
