#include "kvx/HuffmanCode.h"

#include <algorithm>
#include <iterator>

bool HuffmanCode::Build(const std::uint8_t* lengths, std::size_t count) {
  std::fill(std::begin(FCount), std::end(FCount), 0);
  std::fill(std::begin(FFast), std::end(FFast), 0);
  for (std::size_t s = 0; s < count; ++s) ++FCount[lengths[s]];
  FCount[0] = 0;
  int left = 1;
  for (unsigned len = 1; len <= MaxBits; ++len) {
    left = 2 * left - FCount[len];
    if (left < 0) return false;
  }
  std::uint16_t offset[MaxBits + 2] = {};
  std::uint32_t nextCode[MaxBits + 1] = {};
  std::uint32_t code = 0;
  for (unsigned len = 1; len <= MaxBits; ++len) {
    offset[len + 1] = static_cast<std::uint16_t>(offset[len] + FCount[len]);
    code = (code + FCount[len - 1]) << 1;
    nextCode[len] = code;
  }
  for (std::size_t s = 0; s < count; ++s) {
    const unsigned len = lengths[s];
    if (len == 0) continue;
    FSymbols[offset[len]++] = static_cast<std::uint16_t>(s);
    const std::uint32_t c = nextCode[len]++;
    if (len > FastBits) continue;
    // The stream holds the code's first bit lowest: index by the reversed code.
    std::uint32_t reversed = 0;
    for (unsigned i = 0; i < len; ++i) reversed |= ((c >> i) & 1u) << (len - 1 - i);
    const auto entry = static_cast<std::uint16_t>(s << 4 | len);
    for (std::size_t i = reversed; i < FastSize; i += std::size_t{1} << len) FFast[i] = entry;
  }
  return true;
}

int HuffmanCode::DecodeLong(std::uint64_t bits, unsigned avail, unsigned& used) const {
  int code = 0, first = 0, index = 0;
  for (unsigned len = 1; len <= MaxBits; ++len) {
    if (len > avail) return NeedBits;
    code |= static_cast<int>((bits >> (len - 1)) & 1u);
    const int count = FCount[len];
    if (code - first < count) {
      used = len;
      return FSymbols[index + code - first];
    }
    index += count;
    first = (first + count) << 1;
    code <<= 1;
  }
  return Invalid;
}
