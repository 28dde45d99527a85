#pragma once
// What the library can and cannot unpack, in the words of its messages.
#include <cstdint>
#include <string>

#include "kvx/CentralDirectory.h"

// "6 (Implode)" for a method with a known name, else just the number.
std::string CompressionMethodText(std::uint16_t method);
// Empty when the library can decrypt the entry; else which encryption it uses, for example
// "strong encryption (method 0x6601)".
std::string UndecryptableEncryption(const KvxEntry& e);
