#include "kvx/Wildcard.h"

namespace {

// Matches one set starting at spec[p] == '['; sets p past the set. A set without "]" is a literal "[".
bool MatchSet(std::string_view spec, std::size_t& p, char c, bool& matched) {
  std::size_t q = p + 1;
  bool negate = q < spec.size() && (spec[q] == '!' || spec[q] == '^');
  if (negate) ++q;
  std::size_t first = q;
  bool hit = false;
  while (q < spec.size() && (spec[q] != ']' || q == first)) {
    char lo = spec[q];
    if (q + 2 < spec.size() && spec[q + 1] == '-' && spec[q + 2] != ']') {
      char hi = spec[q + 2];
      if (static_cast<unsigned char>(c) >= static_cast<unsigned char>(lo) &&
          static_cast<unsigned char>(c) <= static_cast<unsigned char>(hi))
        hit = true;
      q += 3;
    } else {
      if (c == lo) hit = true;
      ++q;
    }
  }
  if (q >= spec.size()) return false;
  p = q + 1;
  matched = hit != negate;
  return true;
}

}  // namespace

bool MatchesSpec(std::string_view name, std::string_view spec) {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < spec.size() && spec[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    bool ok = false;
    std::size_t next = p + 1;
    if (p < spec.size()) {
      if (spec[p] == '?') {
        ok = true;
      } else if (spec[p] == '[') {
        std::size_t q = p;
        bool matched = false;
        if (MatchSet(spec, q, name[n], matched)) {
          ok = matched;
          next = q;
        } else {
          ok = name[n] == '[';
        }
      } else {
        ok = spec[p] == name[n];
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
  while (p < spec.size() && spec[p] == '*') ++p;
  return p == spec.size();
}
