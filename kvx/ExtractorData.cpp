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
#include "kvx/OutputSpace.h"
#include "platform/FileIO.h"
#include "zipformat/ZipRecords.h"

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

void Extractor::ExtractEntryData(const KvxEntry& e, std::int64_t start, std::uint64_t size,
                                 EntryCipher* cipher, OutputFile* out, const std::string& name,
                                 bool replace) {
  EntrySource source(FArchive, start, size, cipher);
  std::unique_ptr<Decoder> decoder = MakeDecoder(e.DataMethod(), e.Flags, e.UncompressedSize, source);
  std::uint32_t crc = 0;
  if (!DecodeAll(e, *decoder, out, name, crc)) return;
  if (cipher && !Authentic(source, *cipher, start + static_cast<std::int64_t>(size)))
    return Corrupt(e, out, "authentication failed (damaged data or wrong password)");
  const bool crcOk = !e.CrcStored() || crc == e.Crc;
  if (!crcOk && !KeepDespiteCrc(e, out, name, crc)) return;
  if (!out) {
    ++FCount;
    return;
  }
  Commit(e, *out, name, replace, crcOk);
}

void Extractor::Corrupt(const KvxEntry& e, OutputFile* out, const std::string& why) {
  if (out) out->Discard();
  Skip(e.Name, kvxSkipCorrupt, kvxErrCorrupt, "Corrupt data in " + e.Name + ": " + why);
}

bool Extractor::DecodeAll(const KvxEntry& e, Decoder& decoder, OutputFile* out, const std::string& name,
                          std::uint32_t& crc) {
  std::uint64_t total = 0;
  uLong sum = crc32(0, nullptr, 0);
  for (;;) {
    // One byte beyond the declared size is asked for, so that excess data shows.
    const std::uint64_t left = e.UncompressedSize - total;
    const std::size_t cap = left < FBuffer.size() ? static_cast<std::size_t>(left) + 1 : FBuffer.size();
    std::size_t produced = 0;
    const DecodeStatus status = decoder.DecodeChunk(FBuffer.data(), cap, produced);
    if (produced > left) {
      Corrupt(e, out, "more data than the declared size");
      return false;
    }
    total += produced;
    if (e.CrcStored()) sum = crc32(sum, FBuffer.data(), static_cast<uInt>(produced));
    if (!Deliver(e, out, name, produced)) return false;
    if (status == DecodeStatus::End) break;
    if (status == DecodeStatus::Error) {
      Corrupt(e, out, decoder.ErrorText());
      return false;
    }
  }
  if (total != e.UncompressedSize) {
    Corrupt(e, out, "less data than the declared size");
    return false;
  }
  crc = static_cast<std::uint32_t>(sum);
  return true;
}

bool Extractor::TakeOutputSpace(const KvxEntry& e, const std::string& name, std::size_t count) {
  FWrittenSinceMeasure += count;
  if (count <= FSpaceLeft && FWrittenSinceMeasure < OutputSpaceRemeasure) {
    FSpaceLeft -= count;
    return true;
  }
  // Others writing there too may have taken room, or freed it, since it was last asked.
  const OutputSpace space = MeasureOutputSpace(FBase.Get());
  FWrittenSinceMeasure = 0;
  if (!space.Known || count <= space.Usable) {
    FSpaceLeft = space.Known ? space.Usable - count : UINT64_MAX;
    return true;
  }
  Skip(e.Name, kvxSkipWriteError, kvxErrLimit,
       "Too much output: writing " + name + " would leave less than the " + std::to_string(space.Margin) +
           " bytes the destination keeps free");
  return false;
}

bool Extractor::Deliver(const KvxEntry& e, OutputFile* out, const std::string& name, std::size_t produced) {
  if (produced == 0) return true;
  std::string error;
  if (out && !TakeOutputSpace(e, name, produced)) {
    out->Discard();
    return false;
  }
  if (out && !out->Write(FBuffer.data(), produced, error)) {
    out->Discard();
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
    return false;
  }
  return FCallbacks.Written(produced);
}

bool Extractor::KeepDespiteCrc(const KvxEntry& e, OutputFile* out, const std::string& name,
                               std::uint32_t crc) {
  const std::string text = "CRC error in " + e.Name + ": found " + Hex(crc) + ", expected " + Hex(e.Crc);
  std::int32_t answer = 2;
  if (out && !FCallbacks.CrcError(name, crc, e.Crc, answer)) return false;
  if ((!out || answer == 2) && !FCallbacks.Message(kvxErrCrc, text)) return false;
  if (!out) return false;
  if (answer == 0) {
    out->Discard();
    FCallbacks.Skipped(e.Name, kvxSkipCorrupt, kvxErrCrc);
    return false;
  }
  return true;
}

void Extractor::Commit(const KvxEntry& e, OutputFile& out, const std::string& name, bool replace,
                       bool crcOk) {
  std::string error;
  const std::int64_t mtime = e.HasUnixTime ? e.UnixTime : DosToUnixTime(e.DosDateTime);
  // Data that failed its check is kept only under a free name: it never replaces a file.
  const OutputFile::CommitResult result = out.Commit(mtime, replace && crcOk, error);
  if (result == OutputFile::CommitResult::Exists && !crcOk)
    FCallbacks.Skipped(e.Name, kvxSkipCorrupt, kvxErrCrc);
  else if (result == OutputFile::CommitResult::Exists)
    FCallbacks.Skipped(e.Name, kvxSkipFileExists, 0);
  else if (result == OutputFile::CommitResult::Error)
    Skip(e.Name, kvxSkipWriteError, kvxErrWrite, "Cannot write " + name + ": " + error);
  else if (crcOk)
    ++FCount;
}
