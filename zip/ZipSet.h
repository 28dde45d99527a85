#pragma once
// A set of enumeration values stored as bits (bit n = value n), as the component's options are.
#include <initializer_list>

template <typename E, typename Bits>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) FBits |= Bit(v);
  }
  static constexpr TSet FromBits(Bits bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr void Include(E v) { FBits |= Bit(v); }
  constexpr void Exclude(E v) { FBits &= static_cast<Bits>(~Bit(v)); }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr Bits ToBits() const { return FBits; }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr Bits Bit(E v) { return static_cast<Bits>(Bits(1) << static_cast<int>(v)); }
  Bits FBits = 0;
};
