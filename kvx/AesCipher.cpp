#include "kvx/AesCipher.h"

#include <algorithm>
#include <cstring>

#include "kvx/KeyDerivation.h"

namespace {

constexpr unsigned KeyDerivationRounds = 1000;

}  // namespace

std::unique_ptr<AesCipher> AesCipher::Unlock(const std::string& password, unsigned keyBits,
                                             const std::uint8_t* salt, const std::uint8_t* verifier) {
  const nettle_cipher* cipher = keyBits == 128   ? &nettle_aes128
                                : keyBits == 192 ? &nettle_aes192
                                : keyBits == 256 ? &nettle_aes256
                                                 : nullptr;
  if (!cipher) return nullptr;
  // The encryption key, the authentication key, then the password verifier.
  const std::size_t keySize = keyBits / 8;
  std::uint8_t derived[2 * 32 + VerifierSize];
  DeriveKeysHmacSha1(password, salt, SaltSize(keyBits), KeyDerivationRounds, derived,
                     2 * keySize + VerifierSize);
  if (std::memcmp(derived + 2 * keySize, verifier, VerifierSize) != 0) return nullptr;
  return std::unique_ptr<AesCipher>(new AesCipher(*cipher, derived, derived + keySize, keySize));
}

AesCipher::AesCipher(const nettle_cipher& cipher, const std::uint8_t* key, const std::uint8_t* macKey,
                     std::size_t keySize)
    : FCipher(cipher) {
  FCipher.set_encrypt_key(&FKey, key);
  hmac_sha1_set_key(&FMac, keySize, macKey);
}

void AesCipher::NextKeyStream() {
  for (std::size_t block = 0; block < StreamBlocks; ++block) {
    std::uint8_t* counter = FCounters + block * AES_BLOCK_SIZE;
    for (int i = 0; i < 8; ++i) {
      counter[i] = static_cast<std::uint8_t>(FCounterLow >> (8 * i));
      counter[8 + i] = static_cast<std::uint8_t>(FCounterHigh >> (8 * i));
    }
    if (++FCounterLow == 0) ++FCounterHigh;
  }
  FCipher.encrypt(&FKey, sizeof FStream, FStream, FCounters);
  FStreamUsed = 0;
}

void AesCipher::Decrypt(std::uint8_t* data, std::size_t count) {
  hmac_sha1_update(&FMac, count, data);
  while (count > 0) {
    if (FStreamUsed == sizeof FStream) NextKeyStream();
    const std::size_t n = std::min(count, sizeof FStream - FStreamUsed);
    const std::uint8_t* key = FStream + FStreamUsed;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      std::uint64_t a, b;
      std::memcpy(&a, data + i, 8);
      std::memcpy(&b, key + i, 8);
      a ^= b;
      std::memcpy(data + i, &a, 8);
    }
    for (; i < n; ++i) data[i] ^= key[i];
    data += n;
    count -= n;
    FStreamUsed += n;
  }
}

bool AesCipher::CheckTrailer(const std::uint8_t* code) {
  std::uint8_t digest[SHA1_DIGEST_SIZE];
  hmac_sha1_digest(&FMac, sizeof digest, digest);
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < CodeSize; ++i) difference |= static_cast<std::uint8_t>(digest[i] ^ code[i]);
  return difference == 0;
}
