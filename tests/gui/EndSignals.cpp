// The reader as a desktop ends it: SIGTERM, SIGHUP and SIGINT close the window as its close box
// does, and a display that goes away still leaves no working folder behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/gui/XServer.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

namespace {
bool WaitFor(const std::function<bool()>& done, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The environment given, and this one's display, home and path where it names none of them.
pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> environment) {
  const auto given = [&environment](const std::string& name) {
    for (const std::string& entry : environment)
      if (entry.rfind(name + "=", 0) == 0) return true;
    return false;
  };
  for (const char* name : {"DISPLAY", "XAUTHORITY", "HOME", "PATH"})
    if (const char* value = std::getenv(name); value && !given(name))
      environment.push_back(std::string(name) + "=" + value);
  std::vector<char*> args, envp;
  for (std::string& arg : argv) args.push_back(arg.data());
  for (std::string& entry : environment) envp.push_back(entry.data());
  args.push_back(nullptr);
  envp.push_back(nullptr);
  pid_t child = 0;
  return posix_spawn(&child, args[0], nullptr, nullptr, args.data(), envp.data()) == 0 ? child : -1;
}

// True when the child ended by itself within the deadline; it is killed otherwise.
bool Ends(pid_t child, int& status) {
  if (WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, 60)) return true;
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  return false;
}

// The reader on a private temporary folder; "" when its start page never appeared.
class Reader {
 public:
  explicit Reader(const std::vector<std::string>& environment = {}) {
    std::vector<std::string> env = environment;
    env.push_back("XDG_RUNTIME_DIR=" + temp);
    pid = Spawn({FOLIVO_BIN_DIR "/folivo"}, env);
    started = pid > 0 && WaitFor([this] { return fs::exists(temp + "/KORVEX/hhhome.htm"); }, 60);
  }
  bool LeftItsFolder() const { return fs::exists(temp + "/KORVEX"); }

  TTempFolder folder;
  std::string temp = folder.Path();
  pid_t pid = -1;
  bool started = false;
};

class EndSignals : public ::testing::TestWithParam<int> {};

TEST_P(EndSignals, CloseTheWindowAndRemoveTheWorkingFolder) {
  Reader reader;
  ASSERT_GT(reader.pid, 0);
  EXPECT_TRUE(reader.started);
  kill(reader.pid, reader.started ? GetParam() : SIGKILL);
  int status = 0;
  EXPECT_TRUE(Ends(reader.pid, status));
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_FALSE(reader.LeftItsFolder());
}

INSTANTIATE_TEST_SUITE_P(Reader, EndSignals, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

// Everything under a folder, one path a line.
std::string Contents(const std::string& folder) {
  std::string paths;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) paths += entry.path().string() + "\n";
  return paths;
}

// A run with no session folder (no XDG_RUNTIME_DIR), as on a build machine or a bare desktop: the
// reader shows an issue that plays a sound and is closed; nothing of it or of its engine is left
// under $HOME but the reader's state, nor in the temporary folder where it made its private folder.
TEST(ACleanEnd, LeavesNothingUnderHomeNorInTheTemporaryFolder) {
  TTempFolder home, temporary, made;
  std::string sound = "RIFF....WAVEfmt ";
  const unsigned char format[] = {16, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1f, 0, 0, 0x40, 0x1f, 0, 0, 1, 0, 8, 0};
  sound.append(reinterpret_cast<const char*>(format), sizeof format);
  sound += "data" + std::string("\x40\x1f\0\0", 4) + std::string(8000, '\x80');
  WriteBytes(made / "a.wav", sound);
  WriteBytes(made / "index.htm", "<html><body><audio src=a.wav autoplay></audio>suono</body></html>");
  ASSERT_EQ(std::system(("cd '" + made.Path() + "' && zip -q suono.kvx index.htm a.wav").c_str()), 0);
  const std::string shown = temporary / ("folivo-" + std::to_string(geteuid()) + "/KORVEX/a.wav");
  const pid_t reader = Spawn({FOLIVO_BIN_DIR "/folivo", made / "suono.kvx"},
                             {"HOME=" + home.Path(), "TMPDIR=" + temporary.Path()});
  ASSERT_GT(reader, 0);
  EXPECT_TRUE(WaitFor([&] { return fs::exists(shown); }, 60));
  std::this_thread::sleep_for(std::chrono::seconds(3));
  kill(reader, SIGTERM);
  int status = 0;
  EXPECT_TRUE(Ends(reader, status));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(fs::is_regular_file(home / ".local/state/folivo/recent-issues"));
  fs::remove_all(home / ".local/state/folivo");
  for (const char* parent : {".local/state", ".local"}) fs::remove(home / parent);  // only when empty
  EXPECT_EQ(Contents(home.Path()), "");
  EXPECT_EQ(Contents(temporary.Path()), "");
}

TEST(EndOfTheDisplay, LeavesNoWorkingFolder) {
  std::string display;
  const pid_t server = gui::StartXServer(display);
  ASSERT_GT(server, 0);
  ASSERT_NE(display, "");
  Reader reader({"DISPLAY=" + display});
  EXPECT_TRUE(reader.started);
  kill(server, SIGTERM);
  int status = 0;
  EXPECT_TRUE(Ends(server, status));
  EXPECT_TRUE(Ends(reader.pid, status));
  EXPECT_FALSE(reader.LeftItsFolder());
}

// A modal box or dialog that is up, and how the user brought it up: keys typed on the main window,
// then, when the file dialog came first, a name typed into it.
struct BoxUp {
  const char* keys;
  const char* typedName;  // inside the reader's temporary folder; "" for none
  const char* title;
};

class EndSignalsWithABoxUp : public ::testing::TestWithParam<BoxUp> {};

bool Shell(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

// No input event after the signal: the box is ended, the window closed, the folder removed.
TEST_P(EndSignalsWithABoxUp, EndTheBoxAndTheReader) {
  Reader reader;
  ASSERT_TRUE(reader.started);
  const std::string issue = reader.temp + "/locked";
  fs::create_directories(issue);
  WriteBytes(issue + "/index.htm", "<HTML></HTML>");
  WriteBytes(issue + "/p.htm", "<HTML></HTML>");
  ASSERT_TRUE(Shell("cd " + issue + " && zip -q -P segreto ../locked.kvx index.htm p.htm"));
  // A test that stops early leaves no reader behind.
  const std::unique_ptr<pid_t, void (*)(pid_t*)> leftover(&reader.pid, [](pid_t* pid) {
    if (kill(*pid, SIGKILL) == 0) waitpid(*pid, nullptr, 0);
  });
  const std::string window =
      "xdotool search --sync --all --onlyvisible --pid " + std::to_string(reader.pid) + " --name ";
  // A search that meets a window of an ending reader fails with an X error: it is tried again.
  ASSERT_TRUE(Shell("for try in 1 2 3; do " + window + "'^Korvex Folivo$' windowfocus --sync key " +
                    GetParam().keys + " && exit 0; sleep 0.5; done; exit 1"));
  if (*GetParam().typedName) {
    // The name goes to the dialog's location field, opened by its own key, whatever had the focus.
    // xdotool types every word after "type", so Return is a command of its own.
    ASSERT_TRUE(Shell("timeout 30 " + window +
                      "'^Select a file$' windowfocus --sync key ctrl+l sleep 0.5 type --delay 20 '" +
                      reader.temp + "/" + GetParam().typedName + "'"));
    ASSERT_TRUE(Shell("sleep 0.8; xdotool key Return"));
  }
  ASSERT_TRUE(Shell("timeout 30 " + window + "'" + GetParam().title + "' >/dev/null"));
  kill(reader.pid, SIGTERM);
  int status = 0;
  const bool ended = WaitFor([&] { return waitpid(reader.pid, &status, WNOHANG) == reader.pid; }, 15);
  if (!ended) {
    kill(reader.pid, SIGKILL);
    waitpid(reader.pid, &status, 0);
  }
  EXPECT_TRUE(ended);
  EXPECT_FALSE(reader.LeftItsFolder());
}

std::string BoxName(const ::testing::TestParamInfo<BoxUp>& box) {
  static const char* const names[] = {"Question", "PrintDialog", "FileDialog", "PasswordPrompt"};
  return names[box.index];
}

INSTANTIATE_TEST_SUITE_P(Reader, EndSignalsWithABoxUp,
                         ::testing::Values(BoxUp{"alt+Home", "", "^Confirm$"}, BoxUp{"ctrl+p", "", "^Print$"},
                                           BoxUp{"alt+f Return", "", "^Select a file$"},
                                           BoxUp{"alt+f Return", "locked.kvx", "^Password$"}),
                         BoxName);
}  // namespace
