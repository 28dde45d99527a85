// Finding an entry's data and unlocking it: the traditional cipher or AES, with the password
// given or asked for.
#include <algorithm>

#include "kvx/AesCipher.h"
#include "kvx/Extractor.h"
#include "kvx/KvxMessages.h"
#include "kvx/TraditionalCipher.h"
#include "zipformat/ZipRecords.h"

bool Extractor::LocateData(const KvxEntry& e, std::int64_t& start, std::uint64_t& size,
                           std::unique_ptr<EntryCipher>& cipher) {
  std::uint8_t local[LocalRec::Size];
  std::int64_t at =
      FDir.Prefix + static_cast<std::int64_t>(std::min<std::uint64_t>(e.LocalHeaderOffset, INT64_MAX / 2));
  const ByteReader r(local, sizeof local);
  if (!FArchive.ReadAt(at, local, sizeof local) || r.U32(LocalRec::Sig) != LocalRec::Signature) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": local header not found");
    return false;
  }
  start = at + static_cast<std::int64_t>(LocalRec::Size) + r.U16(LocalRec::NameLength) +
          r.U16(LocalRec::ExtraLength);
  size = e.CompressedSize;
  if (start > FArchive.Size() || size > static_cast<std::uint64_t>(FArchive.Size() - start)) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt,
         "Corrupt data in " + e.Name + ": data beyond the end of the archive");
    return false;
  }
  if (!e.Encrypted()) return true;
  if (e.Method == MethodAes) {
    // Salt and password verifier in front of the data, the authentication code behind it.
    const unsigned keyBits = e.Aes->KeyBits();
    const std::size_t saltSize = AesCipher::SaltSize(keyBits);
    const std::size_t headerSize = saltSize + AesCipher::VerifierSize;
    std::uint8_t header[32 + AesCipher::VerifierSize];
    if (!ReadEncryptionHeader(e, start, size, header, headerSize, AesCipher::CodeSize)) return false;
    if (!UnlockEntry(e, cipher, [&](const std::string& password) -> std::unique_ptr<EntryCipher> {
          return AesCipher::Unlock(password, keyBits, header, header + saltSize);
        }))
      return false;
    start += static_cast<std::int64_t>(headerSize);
    size -= headerSize + AesCipher::CodeSize;
    return true;
  }
  std::uint8_t stored[TraditionalCipher::HeaderSize];
  if (!ReadEncryptionHeader(e, start, size, stored, sizeof stored, 0)) return false;
  // With a data descriptor the CRC is not known up front; the header then checks the time.
  const std::uint8_t check = (e.Flags & FlagDataDescriptor) ? static_cast<std::uint8_t>(e.DosDateTime >> 8)
                                                            : static_cast<std::uint8_t>(e.Crc >> 24);
  if (!UnlockEntry(e, cipher, [&](const std::string& password) -> std::unique_ptr<EntryCipher> {
        std::uint8_t header[TraditionalCipher::HeaderSize];
        std::copy(stored, stored + sizeof stored, header);
        auto traditional = std::make_unique<TraditionalCipher>(password);
        if (!traditional->CheckHeader(header, check)) return nullptr;
        return traditional;
      }))
    return false;
  start += TraditionalCipher::HeaderSize;
  size -= TraditionalCipher::HeaderSize;
  return true;
}

bool Extractor::ReadEncryptionHeader(const KvxEntry& e, std::int64_t start, std::uint64_t size,
                                     std::uint8_t* header, std::size_t headerSize, std::size_t trailerSize) {
  if (size < headerSize + trailerSize) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": encryption header missing");
    return false;
  }
  if (!FArchive.ReadAt(start, header, headerSize)) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrRead, "Read error in " + e.Name);
    return false;
  }
  return true;
}

bool Extractor::UnlockEntry(const KvxEntry& e, std::unique_ptr<EntryCipher>& cipher,
                            const std::function<std::unique_ptr<EntryCipher>(const std::string&)>& unlock) {
  for (;;) {
    if (!FOptions.Password.empty()) {
      cipher = unlock(FOptions.Password);
      if (cipher) return true;
    }
    bool given = false;
    std::string password;
    if (FRemainingAsks <= 0 || !FCallbacks.Password(e.Name, FRemainingAsks, password, given) || !given ||
        password.empty()) {
      if (!FCallbacks.Stopped())
        Skip(e.Name, kvxSkipBadPassword, kvxErrPassword, "Wrong or missing password for " + e.Name);
      return false;
    }
    FOptions.Password = password;
  }
}
