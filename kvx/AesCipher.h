#pragma once
// AES entries: keys derived from the password and the entry's salt (PBKDF2-HMAC-SHA1, 1000
// rounds), AES in counter mode with a little-endian counter from 1, and an HMAC-SHA1 code over
// the encrypted data, of which the first 10 bytes follow the data.
#include <nettle/aes.h>
#include <nettle/hmac.h>
#include <nettle/nettle-meta.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "kvx/EntryCipher.h"

class AesCipher : public EntryCipher {
 public:
  static constexpr std::size_t VerifierSize = 2;
  static constexpr std::size_t CodeSize = 10;
  static std::size_t SaltSize(unsigned keyBits) { return keyBits / 16; }

  // Null when the password's verifier differs from the entry's. keyBits is 128, 192 or 256; salt
  // holds SaltSize(keyBits) bytes.
  static std::unique_ptr<AesCipher> Unlock(const std::string& password, unsigned keyBits,
                                           const std::uint8_t* salt, const std::uint8_t* verifier);

  // Adds the encrypted bytes to the authentication code, then decrypts them in place.
  void Decrypt(std::uint8_t* data, std::size_t count) override;
  std::size_t TrailerSize() const override { return CodeSize; }
  bool CheckTrailer(const std::uint8_t* code) override;

 private:
  AesCipher(const nettle_cipher& cipher, const std::uint8_t* key, const std::uint8_t* macKey,
            std::size_t keySize);
  void NextKeyStream();

  static constexpr std::size_t StreamBlocks = 256;
  const nettle_cipher& FCipher;
  union {
    aes128_ctx aes128;
    aes192_ctx aes192;
    aes256_ctx aes256;
  } FKey;
  hmac_sha1_ctx FMac;
  std::uint64_t FCounterLow = 1, FCounterHigh = 0;
  std::uint8_t FCounters[StreamBlocks * AES_BLOCK_SIZE];
  std::uint8_t FStream[StreamBlocks * AES_BLOCK_SIZE];
  std::size_t FStreamUsed = sizeof FStream;
};
