#pragma once
// Text folded for the search, so that case and the accents of Latin letters do not matter:
// "Perché", "PERCHE" and "perche" are one word. Words are runs of letters and digits.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The UTF-8 text in lower case (Unicode case folding), without the diacritics of Latin letters,
// "ß" as "ss", "æ" and "œ" as "ae" and "oe". With origins, each byte of the result is given the
// offset in text of the character it came from.
std::string FoldedForSearch(std::string_view text, std::vector<std::uint32_t>* origins = nullptr);

struct TWordSpan {
  std::size_t at;
  std::size_t size;
};
// The words of a folded text, in order. Words longer than MaxWordBytes are left out.
std::vector<TWordSpan> WordSpans(std::string_view folded);
constexpr std::size_t MaxWordBytes = 100;

// The words of what the user typed, folded, each once, in the order typed.
std::vector<std::string> SearchWords(std::string_view query);
