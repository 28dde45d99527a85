#pragma once
// A canonical prefix code as deflate streams describe it: a code length per symbol, the codes
// read from the low bit of the stream up. The next FastBits bits index a table that resolves
// every code of up to FastBits bits at once; longer codes are walked length by length.
#include <cstddef>
#include <cstdint>

class HuffmanCode {
 public:
  static constexpr unsigned MaxBits = 15;
  static constexpr unsigned MaxSymbols = 320;
  static constexpr int NeedBits = -1;  // the code runs past the bits available
  static constexpr int Invalid = -2;   // no symbol has this code

  // False when the lengths ask for more codes than the bit lengths allow. An incomplete code is
  // accepted; its unused codes decode as Invalid.
  bool Build(const std::uint8_t* lengths, std::size_t count);

  // The symbol whose code starts at the low bit of bits, of which avail are valid; used is set to
  // the code's length.
  int Decode(std::uint64_t bits, unsigned avail, unsigned& used) const {
    const std::uint16_t entry = FFast[bits & (FastSize - 1)];
    if (entry != 0) {
      used = entry & 15u;
      return used <= avail ? entry >> 4 : NeedBits;
    }
    return DecodeLong(bits, avail, used);
  }

 private:
  static constexpr unsigned FastBits = 10;
  static constexpr std::size_t FastSize = std::size_t{1} << FastBits;
  int DecodeLong(std::uint64_t bits, unsigned avail, unsigned& used) const;

  std::uint16_t FFast[FastSize] = {};  // symbol << 4 | length; 0 where no short code fits
  std::uint16_t FCount[MaxBits + 1] = {};
  std::uint16_t FSymbols[MaxSymbols] = {};  // by code length, then by symbol
};
