#include "platform/Wildcard.h"

namespace {

// Matches one set starting at pattern[p] == '['; sets p past the set. A set without "]" is a literal "[".
bool MatchSet(std::string_view pattern, std::size_t& p, char c, bool& matched) {
  std::size_t q = p + 1;
  bool negate = q < pattern.size() && (pattern[q] == '!' || pattern[q] == '^');
  if (negate) ++q;
  std::size_t first = q;
  bool hit = false;
  while (q < pattern.size() && (pattern[q] != ']' || q == first)) {
    char lo = pattern[q];
    if (q + 2 < pattern.size() && pattern[q + 1] == '-' && pattern[q + 2] != ']') {
      char hi = pattern[q + 2];
      if (static_cast<unsigned char>(c) >= static_cast<unsigned char>(lo) &&
          static_cast<unsigned char>(c) <= static_cast<unsigned char>(hi))
        hit = true;
      q += 3;
    } else {
      if (c == lo) hit = true;
      ++q;
    }
  }
  if (q >= pattern.size()) return false;
  p = q + 1;
  matched = hit != negate;
  return true;
}

}  // namespace

bool MatchesSpec(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    bool ok = false;
    std::size_t next = p + 1;
    if (p < pattern.size()) {
      if (pattern[p] == '?') {
        ok = true;
      } else if (pattern[p] == '[') {
        std::size_t q = p;
        bool matched = false;
        if (MatchSet(pattern, q, name[n], matched)) {
          ok = matched;
          next = q;
        } else {
          ok = name[n] == '[';
        }
      } else {
        ok = pattern[p] == name[n];
      }
    }
    if (ok) {
      p = next;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
