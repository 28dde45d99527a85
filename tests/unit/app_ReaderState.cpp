// The reader's state between runs: where it is kept, the recent issues and the places kept, and
// state files that are damaged or planted.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/core/KeptPlaces.h"
#include "app/core/RecentIssues.h"
#include "app/core/StateFolder.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {
unsigned ModeOf(const std::string& path) {
  struct stat info = {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class TEnvironment {
 public:
  TEnvironment(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~TEnvironment() { FOld.empty() ? unsetenv(FName) : setenv(FName, FOld.c_str(), 1); }

 private:
  const char* FName;
  std::string FOld;
};

TIssueIdentity Identity(std::uint64_t size) {
  return {size, 1700000000123456789, 0x0123456789abcdefULL};
}

TEST(ReaderState, KeptInTheStateFolderWrittenWholeAndReadBackAfterARestart) {
  TTempFolder temp;
  {
    const TEnvironment home("HOME", temp.Path().c_str());
    const TEnvironment relative("XDG_STATE_HOME", "state");
    EXPECT_EQ(StateFolder(), temp / ".local/state/folivo");
    const TEnvironment absolute("XDG_STATE_HOME", (temp / "xdg/").c_str());
    EXPECT_EQ(StateFolder(), temp / "xdg/folivo");
  }
  const std::string folder = temp / "xdg/folivo";
  const std::string issue = temp / "R&D 01.kvx";
  WriteBytes(issue, "PK");

  TRecentIssues recent(folder);
  for (int i = 1; i <= 9; ++i) recent.Opened(temp / ("n" + std::to_string(i) + ".kvx"));
  recent.Opened(temp / "n5.kvx");
  recent.Opened(issue);
  TKeptPlaces places(folder);
  for (std::uint64_t i = 0; i <= TKeptPlaces::MaxCount; ++i) places.Remember(Identity(i), "p.htm", 1);
  places.Remember(Identity(7), "città/una pagina.htm#2", 9.5);
  places.Remember(Identity(8), "../outside.htm", 2);  // not kept: 8 keeps its place

  EXPECT_EQ(ModeOf(folder), 0700u);
  EXPECT_EQ(ModeOf(folder + "/places"), 0600u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);  // no temporary left

  TRecentIssues recentAgain(folder);
  recentAgain.Load();
  const std::vector<std::string> expected = {issue,           temp / "n5.kvx", temp / "n9.kvx",
                                             temp / "n8.kvx", temp / "n7.kvx", temp / "n6.kvx",
                                             temp / "n4.kvx", temp / "n3.kvx"};
  EXPECT_EQ(recentAgain.Paths(), expected);
  const std::vector<TRecentMenuEntry> menu = recentAgain.MenuEntries();
  ASSERT_EQ(menu.size(), 8u);
  EXPECT_EQ(menu[0].label, "&1 R&&D 01.kvx");
  EXPECT_EQ(menu[0].tooltip, issue);
  EXPECT_EQ(menu[7].label, "&8 n3.kvx");
  EXPECT_EQ(recentAgain.Choose(1).path, issue);
  const TRecentChoice gone = recentAgain.Choose(2);
  EXPECT_EQ(gone.path, "");
  EXPECT_EQ(gone.message, "n5.kvx is no longer there; it was removed from the recent issues.");
  EXPECT_EQ(recentAgain.Paths().size(), 7u);
  recentAgain.Clear();
  recent.Load();
  EXPECT_TRUE(recent.Paths().empty());

  TKeptPlaces placesAgain(folder);
  placesAgain.Load();
  EXPECT_EQ(placesAgain.Count(), TKeptPlaces::MaxCount);
  EXPECT_FALSE(placesAgain.Recall(Identity(0)));  // the oldest went
  ASSERT_TRUE(placesAgain.Recall(Identity(7)));
  EXPECT_EQ(placesAgain.Recall(Identity(7))->page, "città/una pagina.htm#2");
  EXPECT_EQ(placesAgain.Recall(Identity(7))->zoom, TKeptPlaces::MaxZoom);
  EXPECT_EQ(placesAgain.Recall(Identity(8))->page, "p.htm");
  TIssueIdentity rewritten = Identity(7);
  rewritten.directoryHash ^= 1;
  EXPECT_FALSE(placesAgain.Recall(rewritten));
}

// Each file, put in the state folder, comes back as the recent issues and places listed (places by
// the size in their identity), and nothing else.
TEST(ReaderState, DamagedOrPlantedFilesComeBackEmptyOrSanitised) {
  const std::string id = "\t1700000000123456789\t0123456789abcdef\t";
  struct TCase {
    const char* what;
    std::string recent;
    std::string places;
    std::vector<std::string> expectRecent;
    std::vector<std::string> expectPlaces;
  };
  const std::vector<TCase> cases = {
      {"no first line", "/a.kvx\n", "1" + id + "1\ta.htm\n", {}, {}},
      {"lines that do not parse",
       "folivo recent issues 1\nrelative.kvx\n/tab\there.kvx\n/bell\a.kvx\n/c1\xC2\x85.kvx\n/bad\xFF.kvx\n"
       "/a.kvx\n/a.kvx\n\n/b.kvx",
       "folivo places 1\n1" + id + "1\t../../etc/passwd\n2" + id + "1\t/etc/passwd\n3" + id +
           "1\ta/../b.htm\n4" + id + "1\ta//b.htm\n5" + id + "nan\ta.htm\n6" + id + "inf\ta.htm\n7" + id +
           "1\ta\x01.htm\n8" + id + "1\tx\\..\\y.htm\n9" + "\t1\t0123\t1\ta.htm\n10" + id + "1\n-1" + id +
           "1\ta.htm\n11" + id + "0.01\tok.htm\n12" + id + "1e308\tok.htm\n13" + id + "1.5\tok.htm\n13" + id +
           "2\tsecond.htm\n",
       {"/a.kvx", "/b.kvx"},
       {"11:ok.htm@0.3", "12:ok.htm@3", "13:ok.htm@1.5"}},
      {"more entries than kept",
       "folivo recent issues 1\n/1\n/2\n/3\n/4\n/5\n/6\n/7\n/8\n/9\n",
       "",
       {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"},
       {}},
      {"larger than the limit",
       "folivo recent issues 1\n/a.kvx\n" + std::string(70000, 'x'),
       "folivo places 1\n1" + id + "1\ta.htm\n" + std::string(400000, '\n'),
       {},
       {}},
      {"a NUL in a path", "folivo recent issues 1\n/a\0b.kvx\n/c.kvx\n"s, "", {"/c.kvx"}, {}},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.what);
    TTempFolder temp;
    const std::string folder = temp / "folivo";
    fs::create_directory(folder);
    WriteBytes(folder + "/recent-issues", test.recent);
    WriteBytes(folder + "/places", test.places);
    TRecentIssues recent(folder);
    recent.Load();
    EXPECT_EQ(recent.Paths(), test.expectRecent);
    TKeptPlaces places(folder);
    places.Load();
    std::vector<std::string> recalled;
    for (std::uint64_t size = 0; size < 20; ++size)
      if (const auto place = places.Recall(Identity(size))) {
        std::ostringstream text;
        text << size << ":" << place->page << "@" << place->zoom;
        recalled.push_back(text.str());
      }
    EXPECT_EQ(recalled, test.expectPlaces);
  }
}

// Neither a link, nor a pipe, nor a folder in a file's place is read (a pipe would hold the reader),
// and a state folder that is a link is neither read nor written through.
TEST(ReaderState, WhatIsNoRegularFileIsNotReadAndALinkedFolderIsNotUsed) {
  TTempFolder temp;
  const std::string folder = temp / "folivo";
  fs::create_directory(folder);
  WriteBytes(temp / "elsewhere", "folivo recent issues 1\n/a.kvx\n");
  fs::create_symlink(temp / "elsewhere", folder + "/recent-issues");
  ASSERT_EQ(mkfifo((folder + "/places").c_str(), 0600), 0);
  TRecentIssues recent(folder);
  recent.Load();
  EXPECT_TRUE(recent.Paths().empty());
  TKeptPlaces places(folder);
  places.Load();
  EXPECT_EQ(places.Count(), 0u);

  fs::create_directory_symlink(temp.Path(), temp / "linked");
  EXPECT_FALSE(ReadStateFile(temp / "linked", "elsewhere", 1000));
  EXPECT_FALSE(WriteStateFile(temp / "linked", "new", "x"));
  EXPECT_FALSE(fs::exists(temp / "new"));
}
}  // namespace
