// Feeds arbitrary bytes to the search's reading of a page: its encoding, its markup and references,
// the folding of its text, and the passage around a word it holds. Any outcome but a crash or a
// hang is fine, as long as the text is UTF-8 and the passage is taken from it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/core/PageText.h"
#include "app/core/SearchResults.h"
#include "app/core/SearchText.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TPageText page = PageText(std::string(reinterpret_cast<const char*>(data), size));
  if (!IsValidUtf8(page.text) || !IsValidUtf8(page.title)) std::abort();
  const std::string folded = FoldedForSearch(page.text);
  const std::vector<TWordSpan> words = WordSpans(folded);
  if (words.empty()) return 0;
  const std::vector<std::string> wanted = {folded.substr(words.back().at, words.back().size)};
  std::string firstHit;
  std::string passage;
  for (const TPassagePart& part : Passage(page.text, wanted, &firstHit)) passage += part.text;
  if (firstHit.empty() || passage.find(firstHit) == std::string::npos) std::abort();
  return 0;
}
