#pragma once
// The words of every page of an issue, folded, each with the pages that hold it: a search of a
// large issue looks words up instead of reading its pages.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TSearchIndex {
 public:
  struct TPage {
    std::string path;  // relative to the folder
    std::string title;
  };

  // Adds the next page in the order, with the text shown on it.
  void AddPage(std::string path, std::string title, std::string_view text);
  // Makes the pages added searchable; called once, after the last page.
  void Seal();
  // The pages that hold every one of the words (folded, as SearchWords gives them), in the issue's
  // order; none for no words.
  std::vector<std::uint32_t> PagesWithAll(const std::vector<std::string>& words) const;

  std::size_t PageCount() const { return FPages.size(); }
  const TPage& Page(std::uint32_t number) const { return FPages[number]; }

 private:
  // Looked up by the words of a page's text without copying them.
  struct TWordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const { return std::hash<std::string_view>()(word); }
  };
  std::vector<TPage> FPages;
  std::unordered_map<std::string, std::uint32_t, TWordHash, std::equal_to<>> FWordNumbers;
  // Until sealed: each page's words by number, each once, page after page.
  std::vector<std::uint32_t> FWordsOfPages;
  std::vector<std::uint32_t> FPageEnds;        // where each page's words end in FWordsOfPages
  std::vector<std::uint32_t> FLastPageOfWord;  // the last page that held each word, plus one
  // Once sealed: the pages of word n, ascending, are FPagesOfWords[FWordStarts[n]..FWordStarts[n + 1]).
  std::vector<std::uint32_t> FWordStarts;
  std::vector<std::uint32_t> FPagesOfWords;
};

// A page's bytes as far as the search reads them.
constexpr std::size_t PageReadLimit = 8 * 1024 * 1024;

// The index of the pages (relative to folder, in the order), read one after the other: a
// page that cannot be read has no words, a page without a title is called by its file name.
// The index comes sealed; nothing when cancelled turns true; read counts the pages read so far.
std::optional<TSearchIndex> BuildSearchIndex(const std::string& folder, const std::vector<std::string>& pages,
                                             const std::atomic<bool>& cancelled,
                                             std::atomic<std::size_t>* read = nullptr);
