#pragma once
// Bounds on the work of one extraction. Both are checked against the sizes the directory declares
// before anything is written; the decoders never deliver more than an entry declares, so the
// bounds hold for what is written or tested.
#include <cstdint>

// The selected entries together may declare at most 64 GiB.
constexpr std::uint64_t MaxTotalOutput = 64ull << 30;
// An entry that declares more than 1 MiB may expand at most 10 000 times its compressed size.
constexpr std::uint64_t MaxExpansionRatio = 10000;
constexpr std::uint64_t RatioFreeOutput = 1ull << 20;

inline bool ExpandsTooMuch(std::uint64_t compressed, std::uint64_t uncompressed) {
  if (uncompressed <= RatioFreeOutput) return false;
  return compressed < UINT64_MAX / MaxExpansionRatio && uncompressed > compressed * MaxExpansionRatio;
}
