#pragma once
// PBKDF2 with HMAC-SHA1, as AES entries derive their keys: each of the many rounds is two SHA-1
// compressions of a prepared block from the key's saved inner and outer states.
#include <cstddef>
#include <cstdint>
#include <string>

void DeriveKeysHmacSha1(const std::string& password, const std::uint8_t* salt, std::size_t saltSize,
                        unsigned rounds, std::uint8_t* out, std::size_t outSize);
