#pragma once
// Little-endian access to fixed records held in a byte buffer. Every access is checked against
// the buffer's size: an offset that would reach past it throws std::out_of_range.
#include <cstddef>
#include <cstdint>
#include <stdexcept>

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  std::uint8_t U8(std::size_t offset) const { return At(offset, 1)[0]; }
  std::uint16_t U16(std::size_t offset) const {
    const std::uint8_t* p = At(offset, 2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  std::uint32_t U32(std::size_t offset) const {
    const std::uint8_t* p = At(offset, 4);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }
  std::size_t Size() const { return FSize; }

 private:
  const std::uint8_t* At(std::size_t offset, std::size_t width) const {
    if (FData == nullptr || offset > FSize || width > FSize - offset)
      throw std::out_of_range("record read past its buffer");
    return FData + offset;
  }
  const std::uint8_t* FData;
  std::size_t FSize;
};

// The writing side, for patching fields of a record in place; checked the same way.
class ByteWriter {
 public:
  ByteWriter(std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  void PutU16(std::size_t offset, std::uint16_t value) {
    std::uint8_t* p = At(offset, 2);
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
  }
  void PutU32(std::size_t offset, std::uint32_t value) {
    std::uint8_t* p = At(offset, 4);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }

 private:
  std::uint8_t* At(std::size_t offset, std::size_t width) {
    if (FData == nullptr || offset > FSize || width > FSize - offset)
      throw std::out_of_range("record write past its buffer");
    return FData + offset;
  }
  std::uint8_t* FData;
  std::size_t FSize;
};
