// The reader as a person uses it: the real program, the pointer and the keys through the X server,
// the real dialogs, and what shows read back from the screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/gui/ReaderProcess.h"
#include "tests/support/Shell.h"

namespace fs = std::filesystem;

namespace {
using gui::TReaderProcess;

// Pages of one colour each, for the screen to tell which is shown.
constexpr long Green = 0x00FF00, Orange = 0xFF8000, Blue = 0x0000FF, Black = 0x000000;
const int PageX = 140, PageY = 140;  // a point of the page view, in the client area

std::string Page(const char* colour, const std::string& body = "") {
  return std::string("<html><body style='margin:0;background:") + colour + "'>" + body + "</body></html>";
}

// An issue of the given files, zipped with the options given.
std::string MakeIssue(const std::string& folder, const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& files,
                      const std::string& options = "") {
  const std::string tree = folder + "/" + name + ".src";
  std::string names;
  for (const auto& [file, content] : files) {
    fs::create_directories(fs::path(tree + "/" + file).parent_path());
    WriteBytes(tree + "/" + file, content);
    names += " " + Quoted(file);
  }
  EXPECT_EQ(Shell("cd " + Quoted(tree) + " && zip -q " + options + " ../" + Quoted(name) + names), 0);
  return folder + "/" + name;
}

// Two pages: the index, one link that fills it, and the page it leads to.
std::string TwoPages(const std::string& folder) {
  return MakeIssue(
      folder, "due.kvx",
      {{"index.htm", Page("#00ff00", "<a href='a.htm' style='display:block;height:2000px'>&nbsp;</a>")},
       {"a.htm", Page("#ff8000")}});
}

// Where the skin's buttons are drawn.
struct TButtonPlace {
  const char* name;
  int x, y, width, height;
  int CentreX() const { return x + width / 2; }
  int CentreY() const { return y + height / 2; }
};
constexpr TButtonPlace Index{"INDEX", 349, 458, 60, 22}, Back{"Back", 266, 458, 41, 25},
    Forward{"Forward", 448, 460, 43, 23}, Web{"WEB", 703, 125, 51, 24};

TEST(PersonAtTheWindow, TheSkinButtonsAnswerTheMouseAndShowTheirFrameUnderIt) {
  TTempFolder folder;
  TReaderProcess reader({TwoPages(folder.Path())});
  ASSERT_TRUE(reader.Started());
  ASSERT_TRUE(reader.Shows(PageX, PageY, Green));
  ASSERT_TRUE(reader.Click(PageX, PageY));
  ASSERT_TRUE(reader.Shows(PageX, PageY, Orange));

  // The raised frame shows while the pointer is over a button, and goes with it.
  for (const TButtonPlace& button : {Back, Index, Forward, Web}) {
    const long skin = reader.ColourAt(button.x, button.y);
    ASSERT_TRUE(reader.MoveTo(button.CentreX(), button.CentreY()));
    EXPECT_TRUE(gui::WaitUntil(
        [&] { return !TReaderProcess::Near(reader.ColourAt(button.x, button.y), skin); }, 5000))
        << button.name;
    ASSERT_TRUE(reader.MoveTo(20, 20));
    EXPECT_TRUE(reader.Shows(button.x, button.y, skin, 5000)) << button.name;
  }

  ASSERT_TRUE(reader.Click(Back.CentreX(), Back.CentreY()));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green)) << "Back";
  ASSERT_TRUE(reader.Click(Forward.CentreX(), Forward.CentreY()));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Orange)) << "Forward";
  ASSERT_TRUE(reader.Click(Index.CentreX(), Index.CentreY()));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green)) << "INDEX";
  ASSERT_TRUE(reader.Click(Web.CentreX(), Web.CentreY()));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Black)) << "WEB";
}
}  // namespace
