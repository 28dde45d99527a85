// The reader as a person uses it: the real program, the pointer and the keys through the X server,
// the real dialogs, and what shows read back from the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

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

// An issue of the given files, zipped with the options given. Its sources lie in a hidden folder
// beside it.
std::string MakeIssue(const std::string& folder, const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& files,
                      const std::string& options = "") {
  const std::string tree = folder + "/.sources/" + name;
  std::string names;
  for (const auto& [file, content] : files) {
    fs::create_directories(fs::path(tree + "/" + file).parent_path());
    WriteBytes(tree + "/" + file, content);
    names += " " + Quoted(file);
  }
  EXPECT_EQ(Shell("cd " + Quoted(tree) + " && zip -q " + options + " " + Quoted(folder + "/" + name) + names),
            0);
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

// The dialog's place for a file in its list: the first row, below the column titles.
constexpr int FirstRowX = 221, FirstRowY = 83;
// The print dialog's first printer row.
constexpr int FirstPrinterX = 82, FirstPrinterY = 86;

// Every menu item by its keys, and the real dialogs they bring: the open dialog (its filter
// ignores case, and it stays whole after a split set), the password box, the print dialog, the
// About box.
TEST(PersonAtTheWindow, TheMenusAndTheirDialogsAnswerKeysAndThePointer) {
  TTempFolder folder;
  const std::string shelf = folder / "scaffale";
  fs::create_directories(shelf);
  MakeIssue(shelf, "NUMERO03.KVX", {{"index.htm", Page("#0000ff")}});
  WriteBytes(shelf + "/altro.txt", "not an issue");
  const std::string set =
      MakeIssue(folder.Path(), "diviso.zip",
                {{"index.htm", Page("#ff8000")}, {"filler.bin", std::string(100000, 'f')}}, "-0 -s 64k");
  ASSERT_TRUE(fs::exists(folder / "diviso.z01"));
  const std::string locked =
      MakeIssue(folder.Path(), "chiuso.kvx", {{"index.htm", Page("#00ff00")}}, "-P segreto");

  TReaderProcess reader;
  ASSERT_TRUE(reader.Started());
  // Vai > Indice with no issue asks; No leaves the start page.
  ASSERT_TRUE(reader.Keys("alt+v n"));
  const std::string question = reader.FindWindow("^Confirm$");
  ASSERT_NE(question, "");
  ASSERT_TRUE(reader.Keys("Escape", question));
  EXPECT_TRUE(reader.Gone("^Confirm$"));

  // File > Apri: the issue named in capitals shows under the filter and opens with a double click.
  ASSERT_TRUE(reader.Keys("alt+f a"));
  std::string dialog = reader.FindWindow("^Select a file$");
  ASSERT_NE(dialog, "");
  ASSERT_TRUE(reader.TypeLocation(shelf + "/", dialog));
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the list of the folder typed
  ASSERT_EQ(Shell("xdotool mousemove --window " + dialog + " " + std::to_string(FirstRowX) + " " +
                  std::to_string(FirstRowY) + " click --repeat 2 --delay 80 1"),
            0);
  EXPECT_TRUE(reader.Shows(PageX, PageY, Blue));

  // A spanned set by its last part; the dialog opens again with its filter, no toolkit complaint.
  ASSERT_TRUE(reader.Keys("alt+f a"));
  dialog = reader.FindWindow("^Select a file$");
  ASSERT_TRUE(reader.TypeLocation(set, dialog));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Orange));
  ASSERT_TRUE(reader.Keys("alt+f a"));
  dialog = reader.FindWindow("^Select a file$");
  ASSERT_TRUE(reader.Keys("Escape", dialog));
  EXPECT_TRUE(reader.Gone("^Select a file$"));

  // The password box: a wrong password leaves the issue on screen and says so; the right one opens it.
  for (const char* password : {"sbagliata", "segreto"}) {
    ASSERT_TRUE(reader.Keys("alt+f a"));
    dialog = reader.FindWindow("^Select a file$");
    ASSERT_TRUE(reader.TypeLocation(locked, dialog));
    const std::string box = reader.FindWindow("^Password$");
    ASSERT_NE(box, "");
    ASSERT_TRUE(reader.Type(password, box) && reader.Keys("Return", box));
    if (std::string(password) == "segreto") break;
    const std::string told = reader.FindBox("^Korvex Folivo$");
    ASSERT_NE(told, "");
    EXPECT_TRUE(reader.Shows(PageX, PageY, Orange));
    ASSERT_TRUE(reader.Keys("Return", told));
  }
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green));

  // Vai > Web, ? > Informazioni (centred on the window, closed by its button), Vai > Indice.
  ASSERT_TRUE(reader.Keys("alt+v w"));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Black));
  ASSERT_TRUE(reader.Keys("alt+question i"));
  const std::string about = reader.FindWindow("^Informazioni$");
  ASSERT_NE(about, "");
  const auto centre = [](const std::string& window) {
    const std::string shell = gui::Output("xdotool getwindowgeometry --shell " + window + " | tr '\\n' ' '");
    int x = 0, y = 0, width = 0, height = 0;
    std::sscanf(shell.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height);
    return std::pair{x + width / 2, y + height / 2};
  };
  EXPECT_LE(std::abs(centre(about).first - centre(reader.Window()).first), 2);
  EXPECT_LE(std::abs(centre(about).second - centre(reader.Window()).second), 2);
  ASSERT_TRUE(reader.Keys("Return", about));
  EXPECT_TRUE(reader.Gone("^Informazioni$"));
  ASSERT_TRUE(reader.Keys("alt+v n"));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green));

  // Ctrl+P: Print to File proposes a file in the home folder, never in the working folder.
  ASSERT_TRUE(reader.Keys("ctrl+p"));
  const std::string print = reader.FindWindow("^Print$");
  ASSERT_NE(print, "");
  ASSERT_EQ(Shell("xdotool mousemove --window " + print + " " + std::to_string(FirstPrinterX) + " " +
                  std::to_string(FirstPrinterY) + " click 1"),
            0);
  ASSERT_TRUE(reader.Keys("alt+p", print));
  EXPECT_TRUE(gui::WaitUntil([&] { return fs::exists(reader.Home() + "/korvex.pdf"); }, 30000));

  // File > Esci ends the reader and its working folder.
  ASSERT_TRUE(reader.Keys("alt+f e"));
  EXPECT_EQ(reader.Exit(), 0);
  EXPECT_FALSE(fs::exists(reader.Working()));
  EXPECT_EQ(ReadBytes(reader.ErrorLog()).find("toolkit check failed"), std::string::npos);
}

// A long opening shows how far it has come; its Cancel leaves the issue on screen as it was.
TEST(PersonAtTheWindow, ALongOpeningShowsItsProgressAndCancelLeavesTheIssueOnScreen) {
  TTempFolder folder;
  const std::string many = folder / "tante.kvx";
  ASSERT_EQ(Shell("python3 -c \"import zipfile, sys\n"
                  "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                  "  z.writestr('index.htm', 'x')\n"
                  "  for i in range(60000): z.writestr(f'p/{i}.htm', 'x' * 50)\" " +
                  Quoted(many)),
            0);
  TReaderProcess reader({TwoPages(folder.Path())});
  ASSERT_TRUE(reader.Started());
  ASSERT_TRUE(reader.Shows(PageX, PageY, Green));
  ASSERT_TRUE(reader.Click(PageX, PageY));
  ASSERT_TRUE(reader.Shows(PageX, PageY, Orange));

  ASSERT_TRUE(reader.Keys("ctrl+o"));
  const std::string dialog = reader.FindWindow("^Select a file$");
  ASSERT_TRUE(reader.TypeLocation(many, dialog));
  const std::string progress = reader.FindWindow("^Opening an issue$");
  ASSERT_NE(progress, "");
  int width = 0, height = 0;
  std::sscanf(gui::Output("xdotool getwindowgeometry --shell " + progress + " | tr '\\n' ' '").c_str(),
              "WINDOW=%*d X=%*d Y=%*d WIDTH=%d HEIGHT=%d", &width, &height);
  ASSERT_EQ(Shell("xdotool mousemove --window " + progress + " " + std::to_string(width - 45) + " " +
                  std::to_string(height - 25) + " click 1"),
            0);
  EXPECT_TRUE(reader.Gone("^Opening an issue$"));
  EXPECT_TRUE(gui::WaitUntil([&] { return !fs::exists(reader.Temp() + "/KORVEX-next"); }, 20000));
  EXPECT_TRUE(fs::exists(reader.Working("a.htm")));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Orange));
  // Back still leads to the page before, in the issue still on screen.
  ASSERT_TRUE(reader.Click(Back.CentreX(), Back.CentreY()));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green));
}

// F11 (or Vai > Schermo intero) shows the page alone on the whole screen with its keys; F11 or
// Escape puts the skinned window back where it was, at its size; Ctrl+Q ends the reader.
TEST(PersonAtTheWindow, ReadingFullScreenAndBack) {
  TTempFolder folder;
  TReaderProcess reader({TwoPages(folder.Path())});
  ASSERT_TRUE(reader.Started());
  ASSERT_TRUE(reader.Shows(PageX, PageY, Green));
  const auto geometry = [&] { return gui::Output("xdotool getwindowgeometry " + reader.Window()); };
  const std::string skinned = geometry();
  std::string screen = gui::Output("xdotool getdisplaygeometry");  // "WIDTH HEIGHT"
  screen.replace(screen.find(' '), 1, "x");
  int width = 0, height = 0;
  std::sscanf(screen.c_str(), "%dx%d", &width, &height);
  for (const char* enter : {"F11", "alt+v s"})
    for (const char* leave : {"F11", "Escape"}) {
      ASSERT_TRUE(reader.Keys(enter));
      EXPECT_TRUE(
          gui::WaitUntil([&] { return geometry().find("Geometry: " + screen) != std::string::npos; }, 10000))
          << enter << ": " << geometry();
      // The page, reaching the screen's far corner.
      EXPECT_TRUE(gui::WaitUntil(
          [&] {
            return TReaderProcess::Near(TReaderProcess::ScreenColourAt(width - 10, height - 10), Green);
          },
          10000));
      ASSERT_TRUE(reader.Keys(leave));
      EXPECT_TRUE(gui::WaitUntil([&] { return geometry() == skinned; }, 10000))
          << leave << ": " << geometry();
    }
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green));
  ASSERT_TRUE(reader.Keys("ctrl+q"));
  EXPECT_EQ(reader.Exit(), 0);
}

// An issue that ships pages and folders under the names of the reader's own pages has them left
// out, with a word; the next issue's contents page and WEB show, and Back never reaches what the
// first one planted.
TEST(PersonAtTheWindow, PagesPlantedUnderTheReadersNamesNeverRun) {
  TTempFolder folder;
  const std::string planted = MakeIssue(folder.Path(), "piantato.kvx",
                                        {{"index.htm", Page("#00ff00")},
                                         {"hhhome.htm", Page("#ff0000")},
                                         {"kvxlnkk.htm/x.htm", Page("#ff0000")},
                                         {"kvxsommario.htm/x.htm", Page("#ff0000")}});
  const std::string noIndex = MakeIssue(folder.Path(), "senzaindice.kvx", {{"pagina.htm", Page("#0000ff")}});
  TReaderProcess reader({planted});
  ASSERT_TRUE(reader.Started());
  const std::string told = reader.FindBox("^Korvex Folivo$");
  ASSERT_NE(told, "");
  ASSERT_TRUE(reader.Keys("Return", told));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green));

  ASSERT_TRUE(reader.Keys("alt+f a"));
  const std::string dialog = reader.FindWindow("^Select a file$");
  ASSERT_TRUE(reader.TypeLocation(noIndex, dialog));
  const std::string noIndexTold = reader.FindBox("^Korvex Folivo$");  // no index.htm at its top
  ASSERT_NE(noIndexTold, "");
  ASSERT_TRUE(reader.Keys("Return", noIndexTold));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Black));  // the contents page
  ASSERT_TRUE(reader.Keys("ctrl+l"));
  EXPECT_EQ(reader.FindBox("^Korvex Folivo$", 2000), "");  // no "File access denied"
  EXPECT_TRUE(fs::is_regular_file(reader.Working("kvxlnkk.htm")));
  ASSERT_TRUE(reader.Keys("alt+Left alt+Left"));
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Black));
}
}  // namespace

namespace {
// The issues opened last come back through the File menu by their number after a restart, at the
// page where the reader left them; a search for a word on one page only opens that page, and the
// page's find shows the word.
TEST(PersonAtTheWindow, RecentIssuesThePlaceKeptAndTheSearchAcrossTheIssue) {
  TTempFolder folder;
  const std::string state = "XDG_STATE_HOME=" + folder / "state";
  const std::string issue = MakeIssue(
      folder.Path(), "cerca.kvx",
      {{"index.htm", Page("#00ff00", "<a href='a.htm' style='display:block;height:2000px'>&nbsp;</a>")},
       {"a.htm", Page("#ff8000", "la pagina arancione")},
       {"b.htm",
        Page("#0000ff", "<p style='color:white'>Il cavalluccio marino &egrave; un ippocampo.</p>")}});
  const std::string other = MakeIssue(folder.Path(), "altro.kvx", {{"index.htm", Page("#000000")}});
  {
    TReaderProcess reader({issue}, {state});
    ASSERT_TRUE(reader.Started());
    ASSERT_TRUE(reader.Shows(PageX, PageY, Green));
    ASSERT_TRUE(reader.Click(PageX, PageY));
    ASSERT_TRUE(reader.Shows(PageX, PageY, Orange));
    ASSERT_TRUE(reader.Keys("ctrl+q"));
    EXPECT_EQ(reader.Exit(), 0);
  }
  TReaderProcess reader({other}, {state});
  ASSERT_TRUE(reader.Started());
  ASSERT_TRUE(reader.Shows(PageX, PageY, Black));
  // Now 1 is the issue on screen, 2 the one read before, which opens where it was left.
  ASSERT_TRUE(reader.Keys("alt+f 2"));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Orange));

  ASSERT_TRUE(reader.Keys("ctrl+shift+f"));
  const std::string box = reader.FindWindow("^Cerca nel numero$");
  ASSERT_NE(box, "");
  ASSERT_TRUE(reader.Type("IPPOCAMPO", box) && reader.Keys("Return", box));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Black));  // the results page
  ASSERT_TRUE(reader.Keys("Tab Return"));          // its one link
  EXPECT_TRUE(reader.Shows(PageX, PageY, Blue));
  EXPECT_NE(reader.FindWindow("^Find$"), "");
}
}  // namespace

namespace {
// An issue cut short while it was downloaded: the box that says it is not valid offers to show
// what it holds, and Yes shows the pages that arrived whole.
TEST(PersonAtTheWindow, ACutIssueShowsWhatArrivedWholeWhenAsked) {
  TTempFolder folder;
  std::string noise(200000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
  const std::string whole =
      MakeIssue(folder.Path(), "intero.kvx", {{"index.htm", Page("#00ff00")}, {"rumore.bin", noise}}, "-0");
  const std::string cut = folder / "tagliato.kvx";
  WriteBytes(cut, ReadBytes(whole).substr(0, 100000));
  TReaderProcess reader({cut});
  ASSERT_TRUE(reader.Started());
  const std::string offer = reader.FindWindow("^Confirm$");
  ASSERT_NE(offer, "");
  ASSERT_TRUE(reader.Keys("alt+y", offer));
  const std::string report = reader.FindBox("^Korvex Folivo$");  // how many entries, where it was cut
  ASSERT_NE(report, "");
  ASSERT_TRUE(reader.Keys("Return", report));
  EXPECT_TRUE(reader.Shows(PageX, PageY, Green));
  for (const auto& entry : fs::directory_iterator(reader.Temp()))
    EXPECT_NE(entry.path().extension(), ".zip") << "the salvaged archive is left: " << entry.path();
}
}  // namespace
