#include "kvx/EntryMethods.h"

#include <cstdio>

namespace {

const char* MethodName(std::uint16_t method) {
  switch (method) {
    case 1:
      return "Shrink";
    case 2:
    case 3:
    case 4:
    case 5:
      return "Reduce";
    case 6:
      return "Implode";
    case 7:
      return "Tokenize";
    case 10:
      return "PKWARE DCL Implode";
    case 16:
      return "IBM z/OS CMPSC";
    case 18:
      return "IBM TERSE";
    case 19:
      return "IBM LZ77 z";
    case 94:
      return "MP3";
    case 96:
      return "JPEG";
    case 97:
      return "WavPack";
    case 98:
      return "PPMd";
    case 99:
      return "AES";
    default:
      return nullptr;
  }
}

}  // namespace

std::string CompressionMethodText(std::uint16_t method) {
  const char* name = MethodName(method);
  return std::to_string(method) + (name ? std::string(" (") + name + ")" : "");
}

std::string UndecryptableEncryption(const KvxEntry& e) {
  if (e.Flags & FlagStrongEncryption) {
    if (e.StrongAlgorithm == 0) return "strong encryption";
    char text[48];
    std::snprintf(text, sizeof text, "strong encryption (method 0x%04X)", e.StrongAlgorithm);
    return text;
  }
  if (e.Method != MethodAes) return "";
  if (!e.Aes) return "AES without its extra field";
  if (e.Aes->KeyBits() == 0) return "AES with key strength " + std::to_string(e.Aes->Strength);
  if (e.Aes->Version != 1 && e.Aes->Version != 2) return "AES version " + std::to_string(e.Aes->Version);
  return "";
}
