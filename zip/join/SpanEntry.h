#pragma once
// One central directory entry of a spanned set while it is being joined.
#include <cstdint>
#include <string>

struct SpanEntry {
  std::string Name;  // the whole name as the central header gives it
  std::uint32_t CompressedSize = 0;
  std::uint32_t LocalOffset = 0;
  bool Paired = false;  // a local header has been matched to it
};

// The name of count bytes at buffer, zero bytes included; "" for no buffer or no bytes.
std::string NameFromBuffer(const char* buffer, std::int32_t count);
