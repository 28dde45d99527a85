#pragma once
// A search of the issue: the pages that hold every word typed, and, for those shown, a passage
// around the first word found with the words marked.
#include <cstddef>
#include <string>
#include <vector>

#include "app/core/SearchIndex.h"

struct TPassagePart {
  std::string text;
  bool marked = false;  // one of the words searched for
};

struct TSearchResult {
  std::string page;  // relative to the issue's folder, "/" between folders
  std::string title;
  std::vector<TPassagePart> passage;  // empty when the page no longer holds the words
  // The first word found as the page writes it ("Perché" for "perche"): what the page's own find
  // looks for once the result is opened.
  std::string firstHit;
};

struct TSearchResults {
  std::string query;                 // as typed
  std::vector<std::string> words;    // its words, folded
  std::size_t total = 0;             // pages found
  std::vector<TSearchResult> shown;  // the first of them, in the issue's order

  // The result shown for that page (relative, as in page), nullptr for none.
  const TSearchResult* ResultFor(const std::string& page) const;
};

// About as many characters as a passage shows.
constexpr std::size_t PassageCharacters = 200;
constexpr std::size_t ShownResults = 100;

// Looks the words of the query up in the index, and reads again the pages of the first shownLimit
// results (in folder) for their passages.
TSearchResults SearchIssue(const TSearchIndex& index, const std::string& folder, const std::string& query,
                           std::size_t shownLimit = ShownResults);

// The passage of the text around the first of the (folded) words, and that word as the text has it.
std::vector<TPassagePart> Passage(const std::string& text, const std::vector<std::string>& words,
                                  std::string* firstHit = nullptr);
