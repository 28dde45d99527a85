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
    auto found = FPagesOfWord.find(word);
    if (found == FPagesOfWord.end()) found = FPagesOfWord.emplace(word, std::vector<std::uint32_t>()).first;
    if (found->second.empty() || found->second.back() != number) found->second.push_back(number);
  }
}

std::vector<std::uint32_t> TSearchIndex::PagesWithAll(const std::vector<std::string>& words) const {
  std::vector<const std::vector<std::uint32_t>*> lists;
  for (const std::string& word : words) {
    const auto found = FPagesOfWord.find(word);
    if (found == FPagesOfWord.end()) return {};
    lists.push_back(&found->second);
  }
  if (lists.empty()) return {};
  std::sort(lists.begin(), lists.end(), [](const auto* a, const auto* b) { return a->size() < b->size(); });
  std::vector<std::uint32_t> pages = *lists.front();
  for (std::size_t i = 1; i < lists.size() && !pages.empty(); ++i)
    std::erase_if(pages, [list = lists[i]](std::uint32_t page) {
      return !std::binary_search(list->begin(), list->end(), page);
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
  return index;
}
