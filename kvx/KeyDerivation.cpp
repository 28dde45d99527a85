#include "kvx/KeyDerivation.h"

#include <nettle/hmac.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t BlockSize = SHA1_BLOCK_SIZE;  // 64
constexpr std::size_t Words = 5;
constexpr std::uint32_t InitialState[Words] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

void PutWords(const std::uint32_t (&words)[Words], std::uint8_t* out) {
  for (std::size_t i = 0; i < Words; ++i)
    for (std::size_t b = 0; b < 4; ++b) out[4 * i + b] = static_cast<std::uint8_t>(words[i] >> (24 - 8 * b));
}

void GetWords(const std::uint8_t* in, std::uint32_t (&words)[Words]) {
  for (std::size_t i = 0; i < Words; ++i)
    words[i] = static_cast<std::uint32_t>(in[4 * i]) << 24 | static_cast<std::uint32_t>(in[4 * i + 1]) << 16 |
               static_cast<std::uint32_t>(in[4 * i + 2]) << 8 | in[4 * i + 3];
}

// The state after the key block padded with pad (0x36 inner, 0x5C outer).
void PaddedKeyState(const std::uint8_t* key, std::size_t keySize, std::uint8_t pad,
                    std::uint32_t (&state)[Words]) {
  std::uint8_t block[BlockSize];
  std::memset(block, pad, sizeof block);
  for (std::size_t i = 0; i < keySize; ++i) block[i] ^= key[i];
  std::copy(InitialState, InitialState + Words, state);
  nettle_sha1_compress(state, block);
}

}  // namespace

void DeriveKeysHmacSha1(const std::string& password, const std::uint8_t* salt, std::size_t saltSize,
                        unsigned rounds, std::uint8_t* out, std::size_t outSize) {
  // A key longer than a block is its digest, as HMAC takes it.
  std::uint8_t hashedKey[SHA1_DIGEST_SIZE];
  const auto* key = reinterpret_cast<const std::uint8_t*>(password.data());
  std::size_t keySize = password.size();
  if (keySize > BlockSize) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, keySize, key);
    sha1_digest(&ctx, sizeof hashedKey, hashedKey);
    key = hashedKey;
    keySize = sizeof hashedKey;
  }
  std::uint32_t inner[Words], outer[Words];
  PaddedKeyState(key, keySize, 0x36, inner);
  PaddedKeyState(key, keySize, 0x5C, outer);
  hmac_sha1_ctx mac;
  hmac_sha1_set_key(&mac, password.size(), reinterpret_cast<const std::uint8_t*>(password.data()));

  // One digest after a key block: 20 bytes, the end marker and the length of 84 bytes in bits.
  std::uint8_t block[BlockSize] = {};
  block[SHA1_DIGEST_SIZE] = 0x80;
  block[BlockSize - 2] = (BlockSize + SHA1_DIGEST_SIZE) * 8 >> 8;
  block[BlockSize - 1] = static_cast<std::uint8_t>((BlockSize + SHA1_DIGEST_SIZE) * 8);
  for (std::uint32_t index = 1; outSize > 0; ++index) {
    const std::uint8_t counter[4] = {static_cast<std::uint8_t>(index >> 24),
                                     static_cast<std::uint8_t>(index >> 16),
                                     static_cast<std::uint8_t>(index >> 8), static_cast<std::uint8_t>(index)};
    hmac_sha1_update(&mac, saltSize, salt);
    hmac_sha1_update(&mac, sizeof counter, counter);
    hmac_sha1_digest(&mac, SHA1_DIGEST_SIZE, block);
    std::uint32_t sum[Words];
    GetWords(block, sum);
    for (unsigned round = 1; round < rounds; ++round) {
      std::uint32_t state[Words];
      std::copy(inner, inner + Words, state);
      nettle_sha1_compress(state, block);
      PutWords(state, block);
      std::copy(outer, outer + Words, state);
      nettle_sha1_compress(state, block);
      PutWords(state, block);
      for (std::size_t i = 0; i < Words; ++i) sum[i] ^= state[i];
    }
    std::uint8_t bytes[SHA1_DIGEST_SIZE];
    PutWords(sum, bytes);
    const std::size_t taken = std::min(outSize, sizeof bytes);
    std::memcpy(out, bytes, taken);
    out += taken;
    outSize -= taken;
  }
}
