#pragma once
// The real reader in a process of its own on the test's display, with a private temporary folder
// and home, used as a person uses it: pointer and keys through the X server (xdotool), what shows
// read back from the screen, the dialogs the real ones.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempFiles.h"

namespace gui {

// True once done() holds, trying for at most the given time.
inline bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

// What a shell command printed, its last line break cut.
inline std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

class TReaderProcess {
 public:
  static constexpr int ClientWidth = 789, ClientHeight = 501;

  explicit TReaderProcess(const std::vector<std::string>& arguments = {},
                          const std::vector<std::string>& environment = {}) {
    std::filesystem::create_directories(Home());
    std::vector<std::string> words{FOLIVO_BIN_DIR "/folivo"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env{"XDG_RUNTIME_DIR=" + FTemp.Path(), "HOME=" + Home(), "NO_AT_BRIDGE=1"};
    env.insert(env.end(), environment.begin(), environment.end());
    for (const char* name : {"DISPLAY", "XAUTHORITY", "PATH", "LANG"})
      if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    std::vector<char*> argv, envp;
    for (std::string& word : words) argv.push_back(word.data());
    for (std::string& entry : env) envp.push_back(entry.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    // What the reader says on stderr is kept for the test to read.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, ErrorLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&actions);
    // The main window, not a box of the same title that may come up first: none is as wide.
    FWindow = Found(
        " | while read -r id; do xdotool getwindowgeometry --shell \"$id\" | awk -F= -v id=\"$id\" "
        "'$1 == \"WIDTH\" && $2 >= " +
            std::to_string(ClientWidth) + " { print id }'; done | head -n 1",
        "^Korvex Folivo$", 60000);
    if (FWindow.empty()) return;
    const int height = std::atoi(
        Output("xdotool getwindowgeometry --shell " + FWindow + " | sed -n 's/^HEIGHT=//p'").c_str());
    FMenuHeight = height - ClientHeight;
    // The start page is on the screen once the working folder holds it and the page paints.
    WaitUntil([this] { return std::filesystem::exists(Working("hhhome.htm")); }, 60000);
  }
  ~TReaderProcess() {
    if (FPid <= 0 || waitpid(FPid, nullptr, WNOHANG) == FPid) return;
    kill(FPid, SIGTERM);
    if (!WaitUntil([this] { return waitpid(FPid, nullptr, WNOHANG) == FPid; }, 10000)) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
  }
  TReaderProcess(const TReaderProcess&) = delete;
  TReaderProcess& operator=(const TReaderProcess&) = delete;

  bool Started() const { return !FWindow.empty() && FMenuHeight > 0; }
  pid_t Pid() const { return FPid; }
  const std::string& Window() const { return FWindow; }
  std::string Temp() const { return FTemp.Path(); }
  std::string Home() const { return FTemp / "home"; }
  std::string Working(const std::string& name = "") const { return FTemp / ("KORVEX/" + name); }
  std::string ErrorLog() const { return FTemp / "stderr.log"; }

  // The id of a visible window of the reader whose title matches, waited for; "" when none came.
  // A window just shown is given a moment before it takes keys.
  std::string FindWindow(const std::string& title, int milliseconds = 20000) const {
    return Found(" | head -n 1", title, milliseconds);
  }
  // A box of the reader's with that title, not its main window.
  std::string FindBox(const std::string& title, int milliseconds = 20000) const {
    return Found(" | grep -v -x " + FWindow + " | head -n 1", title, milliseconds);
  }
  bool Gone(const std::string& title, int milliseconds = 20000) const {
    return WaitUntil(
        [&] {
          return Output("xdotool search --all --onlyvisible --pid " + std::to_string(FPid) + " --name '" +
                        title + "' 2>/dev/null")
              .empty();
        },
        milliseconds);
  }

  // A name typed into a file dialog's location field, opened by its own key, and Return.
  bool TypeLocation(const std::string& path, const std::string& dialog) const {
    return Keys("ctrl+l", dialog) && Type(path, dialog) && Keys("Return", dialog);
  }
  // xdotool commands after the window is given the keyboard.
  bool Keys(const std::string& keys, const std::string& window = "") const {
    return Xdotool("windowfocus --sync " + (window.empty() ? FWindow : window) + " key --delay 60 " + keys);
  }
  // Typed text is given a moment to settle (a field may offer completions) before the next key.
  // xdotool types every word after "type": nothing may follow it in one call.
  bool Type(const std::string& text, const std::string& window) const {
    const bool typed = Xdotool("windowfocus --sync " + window + " type --delay 20 '" + text + "'");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    return typed;
  }
  // The pointer to a point of the client area (below the menu bar) along a line, in steps as a hand
  // moves it, and a click of a button there.
  bool MoveTo(int x, int y) const {
    const std::string where = Output("xdotool getmouselocation --shell");
    const auto field = [&where](const char* name) {
      const std::size_t at = where.find(std::string(name) + "=");
      return at == std::string::npos ? 0 : std::atoi(where.c_str() + at + std::strlen(name) + 1);
    };
    const std::string origin = Output("xdotool getwindowgeometry --shell " + FWindow);
    const auto originField = [&origin](const char* name) {
      const std::size_t at = origin.find(std::string(name) + "=");
      return at == std::string::npos ? 0 : std::atoi(origin.c_str() + at + std::strlen(name) + 1);
    };
    const int fromX = field("X") - originField("X"), fromY = field("Y") - originField("Y") - FMenuHeight;
    // A hand's pointer reports every few pixels, also as it crosses from the page onto the skin.
    const int steps = std::max({1, std::abs(x - fromX) / 8, std::abs(y - fromY) / 8});
    std::string path;
    for (int step = 1; step <= steps; ++step)
      path += " mousemove --window " + FWindow + " " + std::to_string(fromX + (x - fromX) * step / steps) +
              " " + std::to_string(fromY + (y - fromY) * step / steps + FMenuHeight) + " sleep 0.01";
    return Xdotool(path.substr(1));
  }
  bool Click(int x, int y, int button = 1) const {
    return MoveTo(x, y) && Xdotool("click " + std::to_string(button));
  }
  // The colour of a point of the client area, as 0xRRGGBB; -1 when it cannot be read.
  long ColourAt(int x, int y) const { return PixelOf(std::stoul(FWindow), x, y + FMenuHeight); }
  // The colour of a point of the screen.
  static long ScreenColourAt(int x, int y) { return PixelOf(0, x, y); }
  // The colours of a rectangle of the window, row by row, in the screen's own pixels.
  std::vector<long> WindowPixels(int x, int y, int width, int height) const {
    std::vector<long> pixels;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return pixels;
    if (XImage* image = XGetImage(display, std::stoul(FWindow), x, y, width, height, AllPlanes, ZPixmap)) {
      for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
          pixels.push_back(static_cast<long>(XGetPixel(image, column, row) & 0xFFFFFF));
      XDestroyImage(image);
    }
    XCloseDisplay(display);
    return pixels;
  }
  // Whether the point shows the colour (each channel within a little), waited for.
  bool Shows(int x, int y, long colour, int milliseconds = 20000) const {
    return WaitUntil([&] { return Near(ColourAt(x, y), colour); }, milliseconds);
  }
  static bool Near(long a, long b) {
    if (a < 0) return false;
    for (int shift : {0, 8, 16})
      if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > 40) return false;
    return true;
  }

  // The exit status once the reader has ended by itself, -1 when it did not within the time.
  int Exit(int milliseconds = 20000) {
    int status = 0;
    if (!WaitUntil([&] { return waitpid(FPid, &status, WNOHANG) == FPid; }, milliseconds)) return -1;
    FPid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  // A pixel of the window, or of the root window for 0.
  static long PixelOf(unsigned long window, int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return -1;
    long colour = -1;
    if (XImage* image = XGetImage(display, window ? window : DefaultRootWindow(display), x, y, 1, 1,
                                  AllPlanes, ZPixmap)) {
      colour = static_cast<long>(XGetPixel(image, 0, 0) & 0xFFFFFF);
      XDestroyImage(image);
    }
    XCloseDisplay(display);
    return colour;
  }
  std::string Found(const std::string& filter, const std::string& title, int milliseconds) const {
    std::string found;
    WaitUntil(
        [&] {
          found = Output("xdotool search --all --onlyvisible --pid " + std::to_string(FPid) + " --name '" +
                         title + "' 2>/dev/null" + filter);
          return !found.empty();
        },
        milliseconds);
    if (!found.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return found;
  }
  static bool Xdotool(const std::string& commands) {
    return std::system(("xdotool " + commands + " >/dev/null 2>&1").c_str()) == 0;
  }

  TTempFolder FTemp;
  pid_t FPid = -1;
  std::string FWindow;
  int FMenuHeight = 0;
};

}  // namespace gui
