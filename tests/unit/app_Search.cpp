// The search across an issue: the text taken from its pages, the index and its answers, the index
// built in the background, and the results page made from the issue's untrusted text.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/core/BackgroundIndex.h"
#include "app/core/PageText.h"
#include "app/core/SearchPage.h"
#include "app/core/SearchResults.h"
#include "app/core/SearchText.h"
#include "tests/support/TempFiles.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {
std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(PageText, WhatAReaderSeesInEveryEncoding) {
  struct TCase {
    std::string page;
    std::string title;
    std::string text;
  };
  const std::vector<TCase> cases = {
      {"<html><head><title> T &amp;\n U </title><style>p{x:1}</style><script>var s = \"<p>no</p>\";</script>"
       "</head><body><!-- <p>hidden</p> --><p>Perch&eacute; s&igrave;</p><p>a&nbsp;b &#8212; &#x41;&euro;</p>"
       "<noscript>off</noscript><textarea>&lt;kept&gt;</textarea></body></html>",
       "T & U", "Perché sì a\u00A0b — A€ <kept>"},
      {"<p><b>P</b>er<i>ch</i>é</p><table><tr><td>uno</td><td>due</td></tr></table>a<br>b", "",
       "Perché uno due a b"},
      {"<a title=\"x>y\" href='a>b'>link</a> a < b && c &notit; &#0;&#x110000;&#150;&bogus; <!-- open", "",
       "link a < b && c ¬it; \uFFFD\uFFFD–&bogus;"},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"><p>caf\xE9 \x93x\x94</p>",
       "", "café “x”"},
      {"<META CHARSET='koi8-r'><title>\xF0\xD2\xC9\xD7\xC5\xD4</title>", "Привет", ""},
      {"<!-- <meta charset=koi8-r> --><p>caf\xC3\xA9</p>", "", "café"},
      {"<p>citt\xE0 \xC3</p>", "", "città Ã"},  // not UTF-8, nothing declared: windows-1252
      {Utf16Le(u"<title>Ωmega</title><p>ναί</p>"), "Ωmega", "ναί"},
      {"\xEF\xBB\xBF<p>bom\xFF</p>", "", "bom\uFFFD"},
      {"<p>a\0b\x01"
       "c</p>"s,
       "", "a\uFFFDb c"},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.page);
    const TPageText text = PageText(test.page);
    EXPECT_EQ(text.title, test.title);
    EXPECT_EQ(text.text, test.text);
  }
  EXPECT_EQ(FoldedForSearch("Perché PERCHE perche\u0301 Straße ŒUVRE Øre İ ÉΛΛΆΔΑ"),
            "perche perche perche strasse oeuvre ore i eλλάδα");
  EXPECT_EQ(SearchWords("Perché, l'amore! PERCHE"), (std::vector<std::string>{"perche", "l", "amore"}));
}

class SearchTest : public ::testing::Test {
 protected:
  void Page(const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(folder / name).parent_path());
    WriteBytes(folder / name, bytes);
    pages.push_back(name);
  }
  TTempFolder folder;
  std::vector<std::string> pages;
};

TEST_F(SearchTest, EveryPageHoldingAllTheWordsInTheIssuesOrderWithAPassageAroundTheFirst) {
  Page("index.htm", "<title>Indice</title><p>Benvenuti: perché no?</p>");
  std::string before;
  while (before.size() < 300) before += "abc ";
  Page("Art/Uno.htm", "<title>Uno &amp; due</title><p>" + before + "L'altra città, perch&eacute; " +
                          std::string(400, 'y') + " Città</p>");
  Page("art/due.htm", "<p>PERCHE CITTA</p>");
  Page("art/tre.htm", "<meta charset=windows-1252><p>citt\xE0 sola</p>");
  Page("missing.htm", "");
  fs::remove(folder / "missing.htm");
  const std::atomic<bool> cancelled{false};
  const std::optional<TSearchIndex> index = BuildSearchIndex(folder.Path(), pages, cancelled);
  ASSERT_TRUE(index);

  const TSearchResults results = SearchIssue(*index, folder.Path(), "Città perche");
  EXPECT_EQ(results.words, (std::vector<std::string>{"citta", "perche"}));
  EXPECT_EQ(results.total, 2u);
  ASSERT_EQ(results.shown.size(), 2u);
  const TSearchResult& uno = results.shown[0];
  EXPECT_EQ(uno.page, "Art/Uno.htm");
  EXPECT_EQ(uno.title, "Uno & due");
  EXPECT_EQ(uno.firstHit, "città");
  ASSERT_GE(uno.passage.size(), 5u);
  EXPECT_EQ(uno.passage[0].text, "… ");
  EXPECT_EQ(uno.passage[1].text.substr(0, 4), "abc ");  // a whole word first
  EXPECT_EQ(uno.passage[1].text.substr(uno.passage[1].text.size() - 8), "L'altra ");
  EXPECT_TRUE(uno.passage[2].marked);
  EXPECT_EQ(uno.passage[2].text, "città");
  EXPECT_EQ(uno.passage[4].text, "perché");
  EXPECT_TRUE(uno.passage[4].marked);
  EXPECT_EQ(uno.passage.back().text, " …");
  std::string shown;
  for (const TPassagePart& part : uno.passage) shown += part.text;
  EXPECT_LE(shown.size(), PassageCharacters + 40);
  EXPECT_EQ(results.shown[1].title, "due.htm");
  EXPECT_EQ(results.shown[1].firstHit, "PERCHE");
  EXPECT_EQ(results.ResultFor("art/due.htm"), &results.shown[1]);

  EXPECT_EQ(SearchIssue(*index, folder.Path(), "CITTÀ").total, 3u);
  EXPECT_EQ(SearchIssue(*index, folder.Path(), "citta", 1).shown.size(), 1u);
  EXPECT_EQ(SearchIssue(*index, folder.Path(), "citta nowhere").total, 0u);
  EXPECT_EQ(SearchIssue(*index, folder.Path(), " ,; ").total, 0u);
}

TEST_F(SearchTest, TheBackgroundIndexIsForItsIssueAndStopsWhenTheNextComesOrTheOwnerGoes) {
  for (int i = 0; i < 400; ++i)
    Page("p" + std::to_string(i) + ".htm", "<p>parola " + std::to_string(i) + "</p>");
  {
    TBackgroundIndex index;
    index.Start(1, folder.Path(), pages);
    index.Start(2, folder.Path(), {"p7.htm"});
    for (int wait = 0; wait < 500 && !index.Progress(2).ready; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(index.Progress(2).ready);
    EXPECT_EQ(index.Index(1), nullptr);
    EXPECT_EQ(index.Progress(1).total, 0u);
    EXPECT_EQ(SearchIssue(*index.Index(2), folder.Path(), "parola").total, 1u);
    index.Start(3, folder.Path(), pages);
    index.Cancel();
    EXPECT_EQ(index.Index(3), nullptr);
    index.Start(4, folder.Path(), pages);
  }  // destroyed while building
}

TEST(SearchPage, UntrustedNamesAndTextsComeOutAsTextAndLinksStayInTheIssue) {
  TTempFolder folder;
  TSearchResults results;
  results.query = "\"><script>alert(1)</script>";
  results.words = {"script"};
  results.total = 4;
  results.shown = {
      {"\"><script>alert(1)</script>.htm",
       "</title><script>alert(2)</script>",
       {{"<img src=x onerror=alert(3)>", false}, {"<b>", true}},
       "<b>"},
      {"javascript:alert(4)", "javascript:alert(5)", {}, ""},
      {"//elsewhere.example/x.htm", "x' onmouseover='alert(6)", {}, ""},
      {"data:text/html,<script>alert(7)</script>", "&amp;", {}, ""},
  };
  WriteSearchPage(folder / "kvxcerca.htm", results);
  const std::string page = ReadBytes(folder / "kvxcerca.htm");
  std::string lower = page;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  EXPECT_EQ(lower.find("<script"), std::string::npos);
  EXPECT_EQ(lower.find("<img"), std::string::npos);
  EXPECT_EQ(lower.find("<b>"), std::string::npos);
  EXPECT_EQ(lower.find("onmouseover='"), std::string::npos);
  EXPECT_NE(page.find("&lt;/title&gt;&lt;script&gt;"), std::string::npos);
  EXPECT_NE(page.find("&amp;amp;"), std::string::npos);
  std::vector<std::string> links;
  for (std::size_t at = lower.find("href=\""); at != std::string::npos; at = lower.find("href=\"", at)) {
    at += 6;
    links.push_back(page.substr(at, page.find('"', at) - at));
  }
  EXPECT_EQ(links, (std::vector<std::string>{"./%22%3E%3Cscript%3Ealert%281%29%3C/script%3E.htm",
                                             "./javascript%3Aalert%284%29", ".///elsewhere.example/x.htm",
                                             "./data%3Atext/html%2C%3Cscript%3Ealert%287%29%3C/script%3E"}));
  EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), std::count(page.begin(), page.end(), '\r'));
  EXPECT_NE(page.find("\r\n"), std::string::npos);
}
}  // namespace
