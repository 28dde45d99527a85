#include "app/core/SearchIndex.h"

#include <algorithm>

#include "app/core/BoundedRead.h"
#include "app/core/PageText.h"
#include "app/core/SearchText.h"
#include "platform/CodePage.h"
#include "platform/Folders.h"

namespace {
constexpr std::size_t TitleCharacters = 200;
}

void TSearchIndex::AddPage(std::string path, std::string title, std::string_view text) {
  const auto number = static_cast<std::uint32_t>(FPages.size());
  FPages.push_back({std::move(path), std::move(title)});
  const std::string folded = FoldedForSearch(text);
  for (const TWordSpan& span : WordSpans(folded)) {
    const std::string_view word = std::string_view(folded).substr(span.at, span.size);
    auto found = FWordNumbers.find(word);
    if (found == FWordNumbers.end()) {
      found = FWordNumbers.emplace(word, static_cast<std::uint32_t>(FLastPageOfWord.size())).first;
      FLastPageOfWord.push_back(0);
    }
    if (FLastPageOfWord[found->second] == number + 1) continue;
    FLastPageOfWord[found->second] = number + 1;
    FWordsOfPages.push_back(found->second);
  }
  FPageEnds.push_back(static_cast<std::uint32_t>(FWordsOfPages.size()));
}

void TSearchIndex::Seal() {
  FWordStarts.assign(FLastPageOfWord.size() + 1, 0);
  for (const std::uint32_t word : FWordsOfPages) ++FWordStarts[word + 1];
  for (std::size_t word = 1; word < FWordStarts.size(); ++word) FWordStarts[word] += FWordStarts[word - 1];
  std::vector<std::uint32_t> next(FWordStarts.begin(), FWordStarts.end() - 1);
  FPagesOfWords.resize(FWordsOfPages.size());
  std::uint32_t at = 0;
  for (std::uint32_t page = 0; page < FPageEnds.size(); ++page)
    for (; at < FPageEnds[page]; ++at) FPagesOfWords[next[FWordsOfPages[at]]++] = page;
  FWordsOfPages = {};
  FPageEnds = {};
  FLastPageOfWord = {};
}

std::vector<std::uint32_t> TSearchIndex::PagesWithAll(const std::vector<std::string>& words) const {
  using TSpan = std::pair<const std::uint32_t*, const std::uint32_t*>;
  std::vector<TSpan> lists;
  for (const std::string& word : words) {
    const auto found = FWordNumbers.find(word);
    if (found == FWordNumbers.end() || found->second + 1 >= FWordStarts.size()) return {};
    lists.emplace_back(FPagesOfWords.data() + FWordStarts[found->second],
                       FPagesOfWords.data() + FWordStarts[found->second + 1]);
  }
  if (lists.empty()) return {};
  std::sort(lists.begin(), lists.end(),
            [](const TSpan& a, const TSpan& b) { return a.second - a.first < b.second - b.first; });
  std::vector<std::uint32_t> pages(lists.front().first, lists.front().second);
  for (std::size_t i = 1; i < lists.size() && !pages.empty(); ++i)
    std::erase_if(pages, [list = lists[i]](std::uint32_t page) {
      return !std::binary_search(list.first, list.second, page);
    });
  return pages;
}

std::optional<TSearchIndex> BuildSearchIndex(const std::string& folder, const std::vector<std::string>& pages,
                                             const std::atomic<bool>& cancelled,
                                             std::atomic<std::size_t>* read) {
  TSearchIndex index;
  for (const std::string& page : pages) {
    if (cancelled) return std::nullopt;
    const TPageText text =
        PageText(ReadRegularFile(folder + "/" + page, PageReadLimit, TOversize::Cut).value_or(""));
    std::string title =
        text.title.empty() ? ExtractFileName(page) : FirstCharacters(text.title, TitleCharacters);
    index.AddPage(page, std::move(title), text.text);
    if (read) ++*read;
  }
  index.Seal();
  return index;
}
