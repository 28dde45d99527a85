// The page engine as the reader starts it, with a hostile page as the index: the web
// process in a sandbox, no print dialog raised by a script, and a memory limit.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;

namespace {
bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::string StatusField(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field + ":", 0) == 0) return line.substr(field.size() + 1);
  return "";
}

// The web processes started under the reader, at any depth.
std::vector<pid_t> WebProcessesOf(pid_t reader) {
  std::vector<pid_t> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const pid_t pid = std::atoi(entry.path().filename().c_str());
    if (pid <= 0 || StatusField(pid, "Name").find("WebKitWebProces") == std::string::npos) continue;
    for (pid_t up = pid; up > 1; up = std::atoi(StatusField(up, "PPid").c_str()))
      if (up == reader) {
        found.push_back(pid);
        break;
      }
  }
  return found;
}

long ResidentMB(pid_t pid) {
  return std::atol(StatusField(pid, "VmRSS").c_str()) / 1024;
}

// The reader on a private temporary folder whose working folder already holds an index, which
// INDEX (Alt+Home) then shows: a working folder left by an earlier run counts as an opened issue.
class Reader {
 public:
  // A window search that meets the window of a reader that is ending fails with an X error: it
  // is tried again.
  Reader(const std::string& index, const std::string& home = std::getenv("HOME")) {
    fs::create_directories(temp + "/KORVEX");
    WriteBytes(temp + "/KORVEX/index.htm", index);
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + temp, "HOME=" + home};
    for (const char* name : {"DISPLAY", "XAUTHORITY", "PATH"})
      if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = FOLIVO_BIN_DIR "/folivo";
    char* argv[] = {program.data(), nullptr};
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, envp.data()) != 0) pid = -1;
    started =
        pid > 0 && WaitFor([this] { return fs::exists(temp + "/KORVEX/hhhome.htm"); }, 60000) &&
        std::system(("for try in 1 2 3; do xdotool search --sync --onlyvisible --pid " + std::to_string(pid) +
                     " --name '^Korvex Folivo$' windowfocus --sync key alt+Home && exit 0; sleep 0.5; done; "
                     "exit 1")
                        .c_str()) == 0;
  }
  ~Reader() {
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  bool Running() const { return waitpid(pid, nullptr, WNOHANG) == 0; }

  TTempFolder folder;
  std::string temp = folder.Path();
  pid_t pid = -1;
  bool started = false;
};

bool SandboxCanStart() {
  return std::system("bwrap --unshare-all --die-with-parent --ro-bind / / true >/dev/null 2>&1") == 0;
}

std::string Namespace(pid_t pid, const char* kind) {
  std::error_code error;
  return fs::read_symlink("/proc/" + std::to_string(pid) + "/ns/" + kind, error).string();
}

// The folders mounted in a process's view of the files.
std::vector<std::string> MountPoints(pid_t pid) {
  std::vector<std::string> points;
  std::ifstream mounts("/proc/" + std::to_string(pid) + "/mountinfo");
  for (std::string id, parent, device, root, point; mounts >> id >> parent >> device >> root >> point;) {
    points.push_back(point);
    mounts.ignore(1 << 16, '\n');
  }
  return points;
}

// The sandbox sees nothing of the user's home, whose cache folder it would otherwise bind writable.
TEST(ConfinedEngine, ScriptPrintShowsNoDialogAndTheWebProcessRunsInItsSandbox) {
  if (!SandboxCanStart()) GTEST_SKIP() << "no user namespaces here: the engine's sandbox cannot start";
  TTempFolder home;
  fs::create_directories(home / ".cache");
  Reader reader("<html><body><script>setInterval(print, 300)</script>prints</body></html>", home.Path());
  ASSERT_TRUE(reader.started);
  std::vector<pid_t> web;
  ASSERT_TRUE(WaitFor([&] { return !(web = WebProcessesOf(reader.pid)).empty(); }, 60000));
  for (const pid_t process : web) {
    EXPECT_NE(Namespace(process, "mnt"), Namespace(reader.pid, "mnt"));
    for (const std::string& point : MountPoints(process)) EXPECT_NE(point.rfind(home.Path(), 0), 0u) << point;
  }
  std::this_thread::sleep_for(std::chrono::seconds(3));
  EXPECT_NE(std::system("xdotool search --onlyvisible --name '^Print$' >/dev/null"), 0);

  kill(reader.pid, SIGTERM);
  int status = 0;
  EXPECT_TRUE(WaitFor([&] { return waitpid(reader.pid, &status, WNOHANG) == reader.pid; }, 60000));
  EXPECT_FALSE(fs::exists(reader.temp + "/KORVEX"));
}

TEST(ConfinedEngine, AScriptFillingMemoryIsStoppedShortOfItsTwoGigabytes) {
  Reader reader(
      "<html><body><script>var kept = [];"
      "(function more() { if (kept.length < 64) { kept.push(new Uint8Array(32 << 20).fill(1));"
      " setTimeout(more, 100); } })()</script></body></html>");
  ASSERT_TRUE(reader.started);
  // Watched until a web process that had filled memory is gone, ended by the engine.
  long largest = 0;
  std::map<pid_t, long> filled;
  WaitFor(
      [&] {
        for (const pid_t process : WebProcessesOf(reader.pid)) {
          const long resident = ResidentMB(process);
          largest = std::max(largest, resident);
          if (resident > 512) filled[process] = resident;
        }
        return std::any_of(filled.begin(), filled.end(),
                           [](const auto& seen) { return kill(seen.first, 0) != 0; });
      },
      120000);
  EXPECT_GT(largest, 256) << "the page never filled memory";
  EXPECT_LT(largest, 1792);
  EXPECT_TRUE(reader.Running());
}
}  // namespace
