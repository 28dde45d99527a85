#pragma once
// The traditional PKWARE stream cipher, decryption side.
#include <cstddef>
#include <cstdint>
#include <string>

#include "kvx/EntryCipher.h"

class TraditionalCipher : public EntryCipher {
 public:
  static constexpr std::size_t HeaderSize = 12;

  explicit TraditionalCipher(const std::string& password);
  // Decrypts the header in place; true when its last byte equals check.
  bool CheckHeader(std::uint8_t* header, std::uint8_t check);
  void Decrypt(std::uint8_t* data, std::size_t count) override;

 private:
  void UpdateKeys(std::uint8_t plain);
  std::uint32_t FKey0 = 0x12345678, FKey1 = 0x23456789, FKey2 = 0x34567890;
};
