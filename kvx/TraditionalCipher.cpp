#include "kvx/TraditionalCipher.h"

#include <zlib.h>

namespace {

std::uint32_t CrcByte(std::uint32_t crc, std::uint8_t b) {
  static const auto* table = get_crc_table();
  return static_cast<std::uint32_t>(table[(crc ^ b) & 0xFF]) ^ (crc >> 8);
}

}  // namespace

TraditionalCipher::TraditionalCipher(const std::string& password) {
  for (char c : password) UpdateKeys(static_cast<std::uint8_t>(c));
}

void TraditionalCipher::UpdateKeys(std::uint8_t plain) {
  key0_ = CrcByte(key0_, plain);
  key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1;
  key2_ = CrcByte(key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

void TraditionalCipher::Decrypt(std::uint8_t* data, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t t = (key2_ | 2) & 0xFFFF;
    std::uint8_t plain = static_cast<std::uint8_t>(data[i] ^ static_cast<std::uint8_t>((t * (t ^ 1)) >> 8));
    UpdateKeys(plain);
    data[i] = plain;
  }
}

bool TraditionalCipher::CheckHeader(std::uint8_t* header, std::uint8_t check) {
  Decrypt(header, HeaderSize);
  return header[HeaderSize - 1] == check;
}
