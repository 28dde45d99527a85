#include "app/core/SearchText.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <memory>

#include "app/core/HtmlEntities.h"
#include "platform/CodePage.h"

namespace {
// The Latin letters: Latin-1, Latin Extended-A and -B, Latin Extended Additional.
bool IsLatin(char32_t code) {
  return (code >= 0x41 && code < 0x250) || (code >= 0x1E00 && code < 0x1F00);
}

bool IsCombiningDiacritic(char32_t code) {
  return code >= 0x300 && code < 0x370;
}

struct GFree {
  void operator()(gchar* text) const { g_free(text); }
};

// Letters with no decomposition that readers type without their stroke or as two letters.
std::string PlainLetters(const std::string& folded) {
  static constexpr std::pair<std::string_view, std::string_view> plain[] = {
      {"æ", "ae"}, {"œ", "oe"}, {"ø", "o"}, {"ł", "l"}, {"đ", "d"}, {"ħ", "h"}, {"ı", "i"}, {"ŀ", "l"}};
  for (const auto& [letter, letters] : plain)
    if (folded == letter) return std::string(letters);
  return folded;
}

// One character folded: case folded, and, for a Latin letter, its marks left out.
std::string FoldedCharacter(char32_t code) {
  gunichar parts[G_UNICHAR_MAX_DECOMPOSITION_LENGTH];
  const gsize count = IsLatin(code) ? g_unichar_fully_decompose(code, FALSE, parts, G_N_ELEMENTS(parts)) : 0;
  std::string text;
  if (count == 0) AppendUtf8(code, text);
  for (gsize i = 0; i < count; ++i)
    if (i == 0 || !g_unichar_ismark(parts[i])) AppendUtf8(parts[i], text);
  const std::unique_ptr<gchar, GFree> folded(g_utf8_casefold(text.data(), static_cast<gssize>(text.size())));
  return PlainLetters(folded.get());
}

// The characters below U+2000 folded once for all; the others each time.
const std::string& FoldedFromTable(char32_t code) {
  static const auto table = [] {
    auto folded = std::make_unique<std::array<std::string, 0x2000>>();
    for (char32_t c = 0; c < folded->size(); ++c) (*folded)[c] = FoldedCharacter(c);
    return folded;
  }();
  return (*table)[code];
}

bool IsWordCharacter(char32_t code) {
  if (code < 0x80)
    return (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
  return g_unichar_isalnum(code) || g_unichar_ismark(code);
}
}  // namespace

std::string FoldedForSearch(std::string_view text, std::vector<std::uint32_t>* origins) {
  std::string folded;
  folded.reserve(text.size());
  if (origins) {
    origins->clear();
    origins->reserve(text.size());
  }
  bool afterLatin = false;
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    std::size_t length = Utf8SequenceAt(text, at, code);
    if (length == 0) {
      // Not UTF-8: a separator.
      length = 1;
      folded += ' ';
    } else if (code < 0x80) {
      folded += static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
    } else if (IsCombiningDiacritic(code) && afterLatin) {
      // A mark written apart from its Latin letter goes as the letter's own marks do.
    } else {
      folded += code < 0x2000 ? FoldedFromTable(code) : FoldedCharacter(code);
    }
    if (!IsCombiningDiacritic(code)) afterLatin = IsLatin(code);
    if (origins) origins->resize(folded.size(), static_cast<std::uint32_t>(at));
    at += length;
  }
  return folded;
}

std::vector<TWordSpan> WordSpans(std::string_view folded) {
  std::vector<TWordSpan> spans;
  std::size_t start = 0;
  bool inWord = false;
  for (std::size_t at = 0; at <= folded.size();) {
    char32_t code = 0;
    std::size_t length = at < folded.size() ? Utf8SequenceAt(folded, at, code) : 1;
    const bool word = at < folded.size() && length > 0 && IsWordCharacter(code);
    if (length == 0) length = 1;
    if (word && !inWord) start = at;
    if (!word && inWord && at - start <= MaxWordBytes) spans.push_back({start, at - start});
    inWord = word;
    at += length;
  }
  return spans;
}

std::vector<std::string> SearchWords(std::string_view query) {
  const std::string folded = FoldedForSearch(query);
  std::vector<std::string> words;
  for (const TWordSpan& span : WordSpans(folded)) {
    std::string word = folded.substr(span.at, span.size);
    if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(std::move(word));
  }
  return words;
}
