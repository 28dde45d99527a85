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
  FKey0 = CrcByte(FKey0, plain);
  FKey1 = (FKey1 + (FKey0 & 0xFF)) * 134775813u + 1;
  FKey2 = CrcByte(FKey2, static_cast<std::uint8_t>(FKey1 >> 24));
}

void TraditionalCipher::Decrypt(std::uint8_t* data, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t t = (FKey2 | 2) & 0xFFFF;
    std::uint8_t plain = static_cast<std::uint8_t>(data[i] ^ static_cast<std::uint8_t>((t * (t ^ 1)) >> 8));
    UpdateKeys(plain);
    data[i] = plain;
  }
}

bool TraditionalCipher::CheckHeader(std::uint8_t* header, std::uint8_t check) {
  Decrypt(header, HeaderSize);
  return header[HeaderSize - 1] == check;
}
