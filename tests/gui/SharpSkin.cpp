// The skin on a screen of twice the resolution (GDK_SCALE=2): drawn from artwork of twice the size,
// not the 1x picture enlarged pixel by pixel, and its buttons still where they are drawn.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "tests/gui/ReaderProcess.h"
#include "tests/gui/XServer.h"

namespace {
// The round WEB plate of the skin, in the window's 1x coordinates: its centre and a little more
// than its radius.
constexpr int PlateX = 728, PlateY = 137, PlateReach = 42;

TEST(SharpSkin, TwiceTheResolutionDrawsTheSkinFromArtworkOfTwiceTheSize) {
  std::string display;
  const pid_t server = gui::StartXServer(display, "2000x1400x24");
  ASSERT_GT(server, 0);
  const std::unique_ptr<const pid_t, void (*)(const pid_t*)> ended(&server, [](const pid_t* pid) {
    kill(*pid, SIGTERM);
    waitpid(*pid, nullptr, 0);
  });
  ASSERT_NE(display, "");
  const std::string ownDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  setenv("DISPLAY", display.c_str(), 1);
  {
    gui::TReaderProcess reader({}, {"GDK_SCALE=2"});
    ASSERT_TRUE(reader.Started());
    int width = 0, height = 0;
    std::sscanf(
        gui::Output("xdotool getwindowgeometry --shell " + reader.Window() + " | tr '\\n' ' '").c_str(),
        "WINDOW=%*d X=%*d Y=%*d WIDTH=%d HEIGHT=%d", &width, &height);
    ASSERT_EQ(width, 2 * gui::TReaderProcess::ClientWidth);
    const int menu = height - 2 * gui::TReaderProcess::ClientHeight;  // the skin starts below it
    ASSERT_EQ(menu % 2, 0);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    // Around the plate's edge a picture enlarged from 1x is made of 2 x 2 blocks of one colour.
    const int side = 4 * PlateReach;
    const std::vector<long> pixels =
        reader.WindowPixels(2 * (PlateX - PlateReach), menu + 2 * (PlateY - PlateReach), side, side);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(side * side));
    int mixedBlocks = 0;
    for (int y = 0; y < side; y += 2)
      for (int x = 0; x < side; x += 2) {
        const long first = pixels[y * side + x];
        mixedBlocks += pixels[y * side + x + 1] != first || pixels[(y + 1) * side + x] != first ||
                       pixels[(y + 1) * side + x + 1] != first;
      }
    EXPECT_GT(mixedBlocks, side * side / 4 / 10) << "of " << side * side / 4 << " blocks";
    // The WEB button answers where its glyph is drawn.
    ASSERT_EQ(
        std::system(("xdotool mousemove --window " + reader.Window() + " " + std::to_string(2 * PlateX) +
                     " " + std::to_string(menu + 2 * PlateY) + " click 1 >/dev/null")
                        .c_str()),
        0);
    EXPECT_TRUE(
        gui::WaitUntil([&] { return std::filesystem::exists(reader.Working("kvxlnkk.htm")); }, 20000));
  }
  setenv("DISPLAY", ownDisplay.c_str(), 1);
}
}  // namespace
