#pragma once
// Little-endian reader over a byte buffer. A read past the end yields 0 and marks the reader failed;
// it never touches memory outside the buffer.
#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Take(4)); }
  std::uint64_t U64() { return Take(8); }
  // Pointer to the next n bytes, or nullptr (and failed) when fewer remain.
  const std::uint8_t* Bytes(std::size_t n) {
    if (n > Remaining()) {
      failed_ = true;
      pos_ = size_;
      return nullptr;
    }
    const std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  void Skip(std::size_t n) { Bytes(n); }
  std::size_t Remaining() const { return size_ - pos_; }
  bool Failed() const { return failed_; }

 private:
  std::uint64_t Take(std::size_t n) {
    const std::uint8_t* p = Bytes(n);
    std::uint64_t value = 0;
    if (p)
      for (std::size_t i = n; i > 0; --i) value = (value << 8) | p[i - 1];
    return value;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};
