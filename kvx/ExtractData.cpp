// The data of one entry: finding it, unlocking it, decoding it and checking it.
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "kvx/Decoder.h"
#include "kvx/EntryMethods.h"
#include "kvx/Extractor.h"
#include "kvx/KvxMessages.h"
#include "kvx/OutputFile.h"
#include "platform/FileIO.h"
#include "zip/records/ZipRecords.h"

namespace {

std::string Hex(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// Checks the trailer that follows the data (AES's authentication code) once the cipher has seen
// every byte of the data.
bool Authentic(EntrySource& source, EntryCipher& cipher, std::int64_t trailerAt) {
  if (cipher.TrailerSize() == 0) return true;
  std::vector<std::uint8_t> trailer(cipher.TrailerSize());
  return source.Drain() && source.File().ReadAt(trailerAt, trailer.data(), trailer.size()) &&
         cipher.CheckTrailer(trailer.data());
}

}  // namespace

bool Extractor::Unsupported(const KvxEntry& e) {
  const std::string encryption = e.Encrypted() ? UndecryptableEncryption(e) : "";
  if (!encryption.empty()) {
    Skip(e.Name, kvxSkipNoEncryptionSupport, kvxErrEncryption,
         "Unsupported encryption in " + e.Name + ": " + encryption);
    return true;
  }
  if (!IsSupportedMethod(e.DataMethod())) {
    Skip(e.Name, kvxSkipCompressionUnknown, kvxErrMethod,
         "Unsupported compression method " + CompressionMethodText(e.DataMethod()) + " in " + e.Name);
    return true;
  }
  return false;
}

void Extractor::Decode(const KvxEntry& e, std::int64_t start, std::uint64_t size, EntryCipher* cipher,
                       OutputFile* out, const std::string& name, bool replace) {
  EntrySource source(FArchive, start, size, cipher);
  std::unique_ptr<Decoder> decoder = MakeDecoder(e.DataMethod(), e.Flags, e.UncompressedSize, source);
  auto corrupt = [&](const std::string& why) {
    if (out) out->Discard();
    Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": " + why);
  };
  std::uint64_t total = 0;
  uLong crc = crc32(0, nullptr, 0);
  for (;;) {
    // One byte beyond the declared size is asked for, so that excess data shows.
    const std::uint64_t left = e.UncompressedSize - total;
    const std::size_t cap = left < FBuffer.size() ? static_cast<std::size_t>(left) + 1 : FBuffer.size();
    std::size_t produced = 0;
    DecodeStatus status = decoder->Decode(FBuffer.data(), cap, produced);
    if (produced > e.UncompressedSize - total) return corrupt("more data than the declared size");
    total += produced;
    if (e.CrcStored()) crc = crc32(crc, FBuffer.data(), static_cast<uInt>(produced));
    std::string error;
    if (produced > 0 && out && !out->Write(FBuffer.data(), produced, error)) {
      out->Discard();
      Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
      return;
    }
    if (produced > 0 && !FCallbacks.Written(produced)) return;
    if (status == DecodeStatus::End) break;
    if (status == DecodeStatus::Error) return corrupt(decoder->ErrorText());
  }
  if (total != e.UncompressedSize) return corrupt("less data than the declared size");
  if (cipher && !Authentic(source, *cipher, start + static_cast<std::int64_t>(size)))
    return corrupt("authentication failed (damaged data or wrong password)");
  bool crcOk = !e.CrcStored() || crc == e.Crc;
  if (!crcOk) {
    std::string text = "CRC error in " + e.Name + ": found " + Hex(static_cast<std::uint32_t>(crc)) +
                       ", expected " + Hex(e.Crc);
    std::int32_t answer = 2;
    if (out && !FCallbacks.CrcError(name, static_cast<std::uint32_t>(crc), e.Crc, answer)) return;
    if (!out || answer == 2) {
      if (!FCallbacks.Message(kvxErrCrc, text)) return;
    }
    if (!out) return;
    if (answer == 0) {
      out->Discard();
      FCallbacks.Skipped(e.Name, kvxSkipCorrupt, kvxErrCrc);
      return;
    }
  }
  if (!out) {
    ++FCount;
    return;
  }
  std::string error;
  std::int64_t mtime = e.HasUnixTime ? e.UnixTime : DosToUnixTime(e.DosDateTime);
  // Data that failed its check is kept only under a free name: it never replaces a file.
  OutputFile::CommitResult result = out->Commit(mtime, replace && crcOk, error);
  if (result == OutputFile::CommitResult::Exists && !crcOk)
    FCallbacks.Skipped(e.Name, kvxSkipCorrupt, kvxErrCrc);
  else if (result == OutputFile::CommitResult::Exists)
    FCallbacks.Skipped(e.Name, kvxSkipFileExists, 0);
  else if (result == OutputFile::CommitResult::Error)
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
  else if (crcOk)
    ++FCount;
}
