#pragma once
// How a listed entry is encrypted and which method compressed its data, from its flags and extra
// field: an AES entry's header says method 99, its AES block names the real method.
#include <cstdint>

#include "zip/ZipTypes.h"
#include "zipformat/ZipRecords.h"

enum class EntryEncryptionKind { None, Traditional, Aes, Strong };

struct EntryEncryption {
  EntryEncryptionKind Kind = EntryEncryptionKind::None;
  unsigned KeyBits = 0;          // AES: 128, 192 or 256; 0 when unknown or not AES
  std::uint16_t DataMethod = 0;  // the method under the encryption
};

inline EntryEncryption DescribeEncryption(const ZipDirEntry& e) {
  EntryEncryption result{EntryEncryptionKind::None, 0, e.CompressionMethod};
  if (!e.Encrypted) return result;
  if (e.GeneralFlags & FlagStrongEncryption) {
    result.Kind = EntryEncryptionKind::Strong;
    return result;
  }
  if (e.CompressionMethod != MethodAes) {
    result.Kind = EntryEncryptionKind::Traditional;
    return result;
  }
  result.Kind = EntryEncryptionKind::Aes;
  if (const auto aes = FindAesBlock(e.ExtraData.get(), e.ExtraFieldLength)) {
    result.KeyBits = aes->KeyBits();
    result.DataMethod = aes->Method;
  }
  return result;
}

inline const char* EncryptionName(EntryEncryptionKind kind) {
  switch (kind) {
    case EntryEncryptionKind::Traditional:
      return "traditional";
    case EntryEncryptionKind::Aes:
      return "aes";
    case EntryEncryptionKind::Strong:
      return "strong";
    default:
      return "none";
  }
}
