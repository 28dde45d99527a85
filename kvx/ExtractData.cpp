// The data of one entry: finding it, unlocking it, decoding it and checking it.
#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "kvx/ByteReader.h"
#include "kvx/Decoder.h"
#include "kvx/Extractor.h"
#include "kvx/KvxMessages.h"
#include "kvx/OutputFile.h"
#include "platform/FileIO.h"

namespace {

constexpr std::uint32_t LocalSignature = 0x04034b50;
constexpr std::uint16_t StrongEncryptionFlag = 0x0040;
constexpr std::uint16_t AesMethod = 99;

std::string Hex(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

}  // namespace

bool Extractor::Unsupported(const KvxEntry& e) {
  if (e.Encrypted() && ((e.Flags & StrongEncryptionFlag) || e.Method == AesMethod)) {
    Skip(e.Name, kvxSkipNoEncryptionSupport, kvxErrEncryption, "Unsupported encryption in " + e.Name);
    return true;
  }
  if (!IsSupportedMethod(e.Method)) {
    Skip(e.Name, kvxSkipCompressionUnknown, kvxErrMethod,
         "Unsupported compression method " + std::to_string(e.Method) + " in " + e.Name);
    return true;
  }
  return false;
}

bool Extractor::LocateData(const KvxEntry& e, std::int64_t& start, std::uint64_t& size,
                           std::unique_ptr<TraditionalCipher>& cipher) {
  std::uint8_t local[30];
  std::int64_t at =
      dir_.Prefix + static_cast<std::int64_t>(std::min<std::uint64_t>(e.LocalHeaderOffset, INT64_MAX / 2));
  ByteReader r(local, sizeof local);
  if (!archive_.ReadAt(at, local, sizeof local) || r.U32() != LocalSignature) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": local header not found");
    return false;
  }
  r.Skip(22);
  std::uint16_t nameLen = r.U16();
  std::uint16_t extraLen = r.U16();
  start = at + 30 + nameLen + extraLen;
  size = e.CompressedSize;
  if (start > archive_.Size() || size > static_cast<std::uint64_t>(archive_.Size() - start)) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt,
         "Corrupt data in " + e.Name + ": data beyond the end of the archive");
    return false;
  }
  if (!e.Encrypted()) return true;
  if (size < TraditionalCipher::HeaderSize) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": encryption header missing");
    return false;
  }
  if (!UnlockEntry(e, start, cipher)) return false;
  start += TraditionalCipher::HeaderSize;
  size -= TraditionalCipher::HeaderSize;
  return true;
}

bool Extractor::UnlockEntry(const KvxEntry& e, std::int64_t start,
                            std::unique_ptr<TraditionalCipher>& cipher) {
  std::uint8_t stored[TraditionalCipher::HeaderSize];
  if (!archive_.ReadAt(start, stored, sizeof stored)) {
    Skip(e.Name, kvxSkipCorrupt, kvxErrRead, "Read error in " + e.Name);
    return false;
  }
  // With a data descriptor the CRC is not known up front; the header then checks the time.
  std::uint8_t check = (e.Flags & 0x0008) ? static_cast<std::uint8_t>(e.DosDateTime >> 8)
                                          : static_cast<std::uint8_t>(e.Crc >> 24);
  for (;;) {
    if (!options_.Password.empty()) {
      std::uint8_t header[TraditionalCipher::HeaderSize];
      std::copy(stored, stored + sizeof stored, header);
      cipher = std::make_unique<TraditionalCipher>(options_.Password);
      if (cipher->CheckHeader(header, check)) return true;
    }
    bool given = false;
    std::string password;
    if (remainingAsks_ <= 0 || !callbacks_.Password(e.Name, remainingAsks_, password, given) || !given ||
        password.empty()) {
      if (!callbacks_.Stopped())
        Skip(e.Name, kvxSkipBadPassword, kvxErrPassword, "Wrong or missing password for " + e.Name);
      return false;
    }
    options_.Password = password;
  }
}

void Extractor::Decode(const KvxEntry& e, std::int64_t start, std::uint64_t size, TraditionalCipher* cipher,
                       OutputFile* out, const std::string& name, bool replace) {
  EntrySource source(archive_, start, size, cipher);
  std::unique_ptr<Decoder> decoder = MakeDecoder(e.Method, e.Flags, e.UncompressedSize, source);
  auto corrupt = [&](const std::string& why) {
    if (out) out->Discard();
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": " + why);
  };
  std::uint64_t total = 0;
  uLong crc = crc32(0, nullptr, 0);
  for (;;) {
    // One byte beyond the declared size is asked for, so that excess data shows.
    const std::uint64_t left = e.UncompressedSize - total;
    const std::size_t cap = left < buffer_.size() ? static_cast<std::size_t>(left) + 1 : buffer_.size();
    std::size_t produced = 0;
    DecodeStatus status = decoder->Decode(buffer_.data(), cap, produced);
    if (produced > e.UncompressedSize - total) return corrupt("more data than the declared size");
    total += produced;
    crc = crc32(crc, buffer_.data(), static_cast<uInt>(produced));
    std::string error;
    if (produced > 0 && out && !out->Write(buffer_.data(), produced, error)) {
      out->Discard();
      Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
      return;
    }
    if (produced > 0 && !callbacks_.Written(produced)) return;
    if (status == DecodeStatus::End) break;
    if (status == DecodeStatus::Error) return corrupt(decoder->ErrorText());
  }
  if (total != e.UncompressedSize) return corrupt("less data than the declared size");
  bool crcOk = crc == e.Crc;
  if (!crcOk) {
    std::string text = "CRC error in " + e.Name + ": found " + Hex(static_cast<std::uint32_t>(crc)) +
                       ", expected " + Hex(e.Crc);
    std::int32_t answer = 2;
    if (out && !callbacks_.CrcError(name, static_cast<std::uint32_t>(crc), e.Crc, answer)) return;
    if (!out || answer == 2) {
      if (!callbacks_.Message(kvxErrCrc, text)) return;
    }
    if (!out) return;
    if (answer == 0) {
      out->Discard();
      callbacks_.Skipped(e.Name, kvxSkipCorrupt, kvxErrCrc);
      return;
    }
  }
  if (!out) {
    ++count_;
    return;
  }
  std::string error;
  std::int64_t mtime = e.HasUnixTime ? e.UnixTime : DosToUnixTime(e.DosDateTime);
  // Data that failed its check is kept only under a free name: it never replaces a file.
  OutputFile::CommitResult result = out->Commit(mtime, replace && crcOk, error);
  if (result == OutputFile::CommitResult::Exists && !crcOk)
    callbacks_.Skipped(e.Name, kvxSkipCorrupt, kvxErrCrc);
  else if (result == OutputFile::CommitResult::Exists)
    callbacks_.Skipped(e.Name, kvxSkipFileExists, 0);
  else if (result == OutputFile::CommitResult::Error)
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
  else if (crcOk)
    ++count_;
}
