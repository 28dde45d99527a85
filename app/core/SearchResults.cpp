#include "app/core/SearchResults.h"

#include <algorithm>

#include "app/core/BoundedRead.h"
#include "app/core/PageText.h"
#include "app/core/SearchText.h"

namespace {
// Characters of the passage before its first word.
constexpr std::size_t LeadCharacters = 60;

bool StartsCharacter(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// The offset count characters before (step -1) or after (step 1) at, or the text's start or end
// when it comes first; moved on to the nearest space when one is near, so no word is cut.
std::size_t Reach(const std::string& text, std::size_t at, std::size_t count, int step) {
  constexpr std::size_t SpaceReach = 24;
  auto inside = [&text, step](std::size_t offset) { return step < 0 ? offset > 0 : offset < text.size(); };
  for (std::size_t seen = 0; seen < count && inside(at);) {
    at += step;
    if (at == text.size() || StartsCharacter(text[at])) ++seen;
  }
  std::size_t snapped = at;
  for (std::size_t moved = 0; inside(snapped) && moved < SpaceReach; ++moved) {
    if (text[step < 0 ? snapped - 1 : snapped] == ' ') return snapped;
    snapped += step;
  }
  return inside(snapped) ? at : snapped;
}

struct TMark {
  std::size_t start, end;  // in the text
};

// Where the words stand in the text, in order.
std::vector<TMark> Marks(const std::string& text, const std::vector<std::string>& words) {
  std::vector<std::uint32_t> origins;
  const std::string folded = FoldedForSearch(text, &origins);
  std::vector<TMark> marks;
  for (const TWordSpan& span : WordSpans(folded)) {
    if (std::find(words.begin(), words.end(), folded.substr(span.at, span.size)) == words.end()) continue;
    const std::size_t end = span.at + span.size;
    marks.push_back({origins[span.at], end < origins.size() ? origins[end] : text.size()});
  }
  return marks;
}
}  // namespace

std::vector<TPassagePart> Passage(const std::string& text, const std::vector<std::string>& words,
                                  std::string* firstHit) {
  const std::vector<TMark> marks = Marks(text, words);
  if (marks.empty()) return {};
  if (firstHit) *firstHit = text.substr(marks.front().start, marks.front().end - marks.front().start);
  const std::size_t start = Reach(text, marks.front().start, LeadCharacters, -1);
  const std::size_t end = std::max(Reach(text, start, PassageCharacters, 1), marks.front().end);
  std::vector<TPassagePart> passage;
  std::size_t at = start;
  auto plain = [&passage, &text](std::size_t from, std::size_t to) {
    if (to > from) passage.push_back({text.substr(from, to - from), false});
  };
  if (start > 0) passage.push_back({"… ", false});
  for (const TMark& mark : marks) {
    if (mark.start < at) continue;
    if (mark.end > end) break;
    plain(at, mark.start);
    passage.push_back({text.substr(mark.start, mark.end - mark.start), true});
    at = mark.end;
  }
  plain(at, end);
  if (end < text.size()) passage.push_back({" …", false});
  return passage;
}

TSearchResults SearchIssue(const TSearchIndex& index, const std::string& folder, const std::string& query,
                           std::size_t shownLimit) {
  TSearchResults results;
  results.query = query;
  results.words = SearchWords(query);
  const std::vector<std::uint32_t> pages = index.PagesWithAll(results.words);
  results.total = pages.size();
  for (std::size_t i = 0; i < pages.size() && i < shownLimit; ++i) {
    const TSearchIndex::TPage& page = index.Page(pages[i]);
    TSearchResult result{page.path, page.title, {}, {}};
    const std::optional<std::string> bytes =
        ReadRegularFile(folder + "/" + page.path, PageReadLimit, TOversize::Cut);
    if (bytes) result.passage = Passage(PageText(*bytes).text, results.words, &result.firstHit);
    results.shown.push_back(std::move(result));
  }
  return results;
}

const TSearchResult* TSearchResults::ResultFor(const std::string& page) const {
  for (const TSearchResult& result : shown)
    if (result.page == page) return &result;
  return nullptr;
}
