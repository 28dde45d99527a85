#pragma once
// A decryption applied to an entry's data as it is read.
#include <cstddef>
#include <cstdint>

class EntryCipher {
 public:
  virtual ~EntryCipher() = default;
  virtual void Decrypt(std::uint8_t* data, std::size_t count) = 0;
  // Bytes after the data that check it (an authentication code), and their check once every byte
  // of the data has passed through Decrypt.
  virtual std::size_t TrailerSize() const { return 0; }
  virtual bool CheckTrailer(const std::uint8_t*) { return true; }
};
