// The main window's own history: recording, Back, Forward and their pending flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/History.h"

namespace {
// A browser stand-in: every navigation the history asks for is reported back at once, like
// the engine's before-navigate event, unless `silent` is set.
struct Browsing {
  TBrowsingHistory history;
  std::vector<std::string> navigated;
  bool silent = false;
  Browsing() {
    history.Create();
    history.OnNavigate = [this](const std::string& url) {
      navigated.push_back(url);
      if (!silent) history.BeforeNavigate(url);
    };
  }
  void Visit(const std::vector<std::string>& urls) {
    for (const auto& url : urls) history.BeforeNavigate(url);
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (int i = 0; i < history.Count(); ++i) out.push_back(history.Entry(i));
    return out;
  }
};

using List = std::vector<std::string>;

TEST(History, FirstVisitIsIndexZeroAndButtonsDoNothingThen) {
  Browsing b;
  EXPECT_EQ(b.history.Index(), -1);
  b.Visit({"S"});
  EXPECT_EQ(b.Entries(), List{"S"});
  EXPECT_EQ(b.history.Index(), 0);
  b.history.Back();
  b.history.Forward();
  EXPECT_TRUE(b.navigated.empty());
  EXPECT_FALSE(b.history.BackPending() || b.history.ForwardPending());
}

TEST(History, AVisitAfterBackCutsOffWhatLayAhead) {
  Browsing b;
  b.Visit({"S", "A", "B", "C"});
  b.history.Back();
  b.history.Back();
  EXPECT_EQ(b.navigated, (List{"B", "A"}));
  EXPECT_EQ(b.history.Index(), 1);
  b.Visit({"D"});
  EXPECT_EQ(b.Entries(), (List{"S", "A", "D"}));
  EXPECT_EQ(b.history.Index(), 2);
}

TEST(History, ForwardMovesForwardOverRepeatedAddresses) {
  Browsing b;
  b.Visit({"S", "I", "A", "i", "L"});
  b.silent = true;
  for (const char* shown : {"i", "A", "I"}) {
    b.history.Back();
    b.history.BeforeNavigate(shown);
  }
  ASSERT_EQ(b.history.Index(), 1);
  b.silent = false;
  for (int step = 0; step < 3; ++step) b.history.Forward();
  EXPECT_EQ(b.navigated, (List{"i", "A", "I", "A", "i", "L"}));
  EXPECT_EQ(b.history.Index(), 4);
  EXPECT_EQ(b.Entries(), (List{"S", "I", "A", "i", "L"}));  // recording never merges
}

TEST(History, ForwardOntoAnotherAddressTakesItsFirstMatchIgnoringCase) {
  Browsing b;
  b.Visit({"A", "B", "C"});
  b.silent = true;
  b.history.Back();
  b.history.BeforeNavigate("B");
  b.history.Forward();
  b.history.BeforeNavigate("a");  // the engine reported another page than the one asked for
  EXPECT_EQ(b.history.Index(), 0);
}

TEST(History, ForwardToAnAddressNotInTheListRestartsItOnTheNextVisit) {
  Browsing b;
  b.Visit({"S", "A", "B"});
  b.silent = true;
  b.history.Back();
  b.history.BeforeNavigate("A");
  b.history.Forward();
  b.history.BeforeNavigate("file:///elsewhere");  // the engine reported another address
  EXPECT_EQ(b.history.Index(), -1);
  b.history.Back();  // nothing to go back to
  EXPECT_FALSE(b.history.BackPending());
  b.history.BeforeNavigate("N");
  EXPECT_EQ(b.Entries(), List{"N"});
  EXPECT_EQ(b.history.Index(), 0);
}

TEST(History, FramesAfterBackAreOrdinaryVisits) {
  Browsing b;
  b.Visit({"S", "P", "Q"});
  b.silent = true;
  b.history.Back();
  b.Visit({"P", "P-frame1", "P-frame2"});  // the page consumes the flag, its frames are visits
  EXPECT_EQ(b.Entries(), (List{"S", "P", "P-frame1", "P-frame2"}));
  EXPECT_EQ(b.history.Index(), 3);
}

TEST(History, AStrayBackFlagNeverTakesTheIndexOutOfTheList) {
  Browsing b;
  b.Visit({"S", "A", "B"});
  b.silent = true;
  b.history.Back();
  b.history.BeforeNavigate("A");
  ASSERT_EQ(b.history.Index(), 1);
  b.history.Back();                       // back flag set
  b.history.Forward();                    // forward flag set too
  b.history.BeforeNavigate("elsewhere");  // forward first: not found, index -1
  b.history.BeforeNavigate("S");          // the back flag's step stops at -1
  EXPECT_EQ(b.history.Index(), -1);
  EXPECT_FALSE(b.history.BackPending() || b.history.ForwardPending());
  b.history.Forward();  // reads entry 0, inside the list
  EXPECT_EQ(b.navigated.back(), "S");
  b.history.BeforeNavigate("S");
  EXPECT_EQ(b.history.Index(), 0);
  b.Visit({"T"});
  EXPECT_EQ(b.Entries(), (List{"S", "T"}));
}

TEST(History, ReleasedListIgnoresEverything) {
  Browsing b;
  b.Visit({"S", "A"});
  b.history.Release();
  b.history.BeforeNavigate("late");
  b.history.Back();
  b.history.Forward();
  EXPECT_FALSE(b.history.Created());
  EXPECT_EQ(b.history.Count(), 0);
  EXPECT_TRUE(b.navigated.empty());
}
TEST(History, ReloadLoadsTheCurrentEntryAndRecordsNothing) {
  Browsing b;
  b.Visit({"S", "A", "B"});
  b.history.Back();
  b.history.Reload();
  EXPECT_EQ(b.navigated, (List{"A", "A"}));
  EXPECT_EQ(b.Entries(), (List{"S", "A", "B"}));
  EXPECT_EQ(b.history.Index(), 1);
  b.Visit({"C"});  // the next visit is recorded again
  EXPECT_EQ(b.Entries(), (List{"S", "A", "C"}));
}
}  // namespace
