// The reader as a desktop ends it: SIGTERM, SIGHUP and SIGINT close the window as its close box
// does, so the working folder goes with it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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

class EndSignals : public ::testing::TestWithParam<int> {};

TEST_P(EndSignals, CloseTheWindowAndRemoveTheWorkingFolder) {
  std::string temp = "/tmp/folivo-signal-XXXXXX";
  ASSERT_NE(mkdtemp(temp.data()), nullptr);
  const std::string program = FOLIVO_BIN_DIR "/folivo";
  const std::string runtime = "XDG_RUNTIME_DIR=" + temp;
  std::vector<std::string> environment = {runtime};
  for (const char* name : {"DISPLAY", "XAUTHORITY", "HOME", "PATH"})
    if (const char* value = std::getenv(name)) environment.push_back(std::string(name) + "=" + value);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

  const std::string startPage = temp + "/KORVEX/hhhome.htm";
  const bool started = WaitFor([&] { return fs::exists(startPage); }, 60);
  EXPECT_TRUE(started);
  kill(child, started ? GetParam() : SIGKILL);
  int status = 0;
  const bool ended = WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, 60);
  if (!ended) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  EXPECT_TRUE(ended);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_FALSE(fs::exists(temp + "/KORVEX"));
  fs::remove_all(temp);
}

INSTANTIATE_TEST_SUITE_P(Reader, EndSignals, ::testing::Values(SIGTERM, SIGHUP, SIGINT));
}  // namespace
