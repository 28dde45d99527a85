#include "kvx/CentralDirectory.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "kvx/EntryName.h"
#include "zipformat/ZipRecords.h"

namespace {

// Finds the last end record signature in the file's tail, as the component's List does.
bool FindEndRecord(const ArchiveFile& file, std::int64_t& pos, std::uint8_t (&record)[EndRec::Size]) {
  const std::int64_t tail =
      std::min<std::int64_t>(file.Size(), static_cast<std::int64_t>(EndRec::Size + EndRec::MaxCommentLength));
  if (tail < static_cast<std::int64_t>(EndRec::Size)) return false;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(tail));
  if (!file.ReadAt(file.Size() - tail, buf.data(), buf.size())) return false;
  const std::size_t at = FindLastEndRecord(buf.data(), buf.size());
  if (at == buf.size()) return false;
  pos = file.Size() - tail + static_cast<std::int64_t>(at);
  std::copy_n(buf.begin() + static_cast<std::ptrdiff_t>(at), EndRec::Size, record);
  return true;
}

bool HasCentralSignature(const ArchiveFile& file, std::int64_t pos) {
  std::uint8_t sig[4];
  return file.ReadAt(pos, sig, sizeof sig) && ByteReader(sig, sizeof sig).U32(0) == CentralRec::Signature;
}

void ApplyExtendedTime(const std::vector<std::uint8_t>& extra, KvxEntry& e) {
  ExtraFieldCursor cursor(extra.data(), extra.size());
  const std::uint8_t* block = nullptr;
  std::size_t size = 0;
  while (cursor.Find(ExtraId::ExtendedTime, block, size)) {
    if (size < 5 || !(block[0] & 1)) continue;
    e.HasUnixTime = true;
    e.UnixTime = static_cast<std::int32_t>(ByteReader(block, size).U32(1));
    return;
  }
}

bool ReadEntry(ArchiveStream& in, KvxEntry& e) {
  std::uint8_t fixed[CentralRec::Size];
  if (!in.Read(fixed, sizeof fixed)) return false;
  const ByteReader h(fixed, sizeof fixed);
  if (h.U32(CentralRec::Sig) != CentralRec::Signature) return false;
  e.HostSystem = h.U8(CentralRec::MadeByHost);
  const std::uint8_t madeByVersion = h.U8(CentralRec::MadeByVersion);
  e.Flags = h.U16(CentralRec::Flags);
  e.Method = h.U16(CentralRec::Method);
  e.DosDateTime = (static_cast<std::uint32_t>(h.U16(CentralRec::Date)) << 16) | h.U16(CentralRec::Time);
  e.Crc = h.U32(CentralRec::Crc32);
  e.CompressedSize = h.U32(CentralRec::CompressedSize);
  e.UncompressedSize = h.U32(CentralRec::UncompressedSize);
  e.ExternalAttributes = h.U32(CentralRec::ExternalAttributes);
  e.LocalHeaderOffset = h.U32(CentralRec::LocalOffset);
  const std::uint16_t nameLen = h.U16(CentralRec::NameLength);
  const std::uint16_t extraLen = h.U16(CentralRec::ExtraLength);
  const std::uint16_t commentLen = h.U16(CentralRec::CommentLength);
  std::string raw(nameLen, '\0');
  std::vector<std::uint8_t> extra(extraLen);
  if (!in.Read(raw.data(), nameLen) || !in.Read(extra.data(), extraLen)) return false;
  if (commentLen > 0) {
    e.HasComment = true;
    if (!in.Read(&e.CommentFirstByte, 1) || !in.Read(nullptr, commentLen - 1u)) return false;
  }
  ApplyZip64Block(extra.data(), extra.size(), e.UncompressedSize, e.CompressedSize, e.LocalHeaderOffset);
  ApplyExtendedTime(extra, e);
  e.Aes = FindAesBlock(extra.data(), extra.size());
  e.StrongAlgorithm = FindStrongEncryptionAlgorithm(extra.data(), extra.size());
  e.Name = EntryNameToUtf8(raw, e.Flags, e.HostSystem, madeByVersion, extra);
  return true;
}

bool EntriesOverlap(const std::vector<KvxEntry>& entries) {
  std::vector<DataExtent> extents;
  extents.reserve(entries.size());
  for (const KvxEntry& e : entries) extents.push_back(EntryExtent(0, e.LocalHeaderOffset, e.CompressedSize));
  return ExtentsOverlap(std::move(extents));
}

}  // namespace

bool LoadCentralDirectory(const ArchiveFile& file, CentralDirectory& dir, std::string& error) {
  std::int64_t endPos = 0;
  std::uint8_t end[EndRec::Size];
  if (!FindEndRecord(file, endPos, end)) {
    error = "no zip directory found";
    return false;
  }
  const DirectoryTotals totals =
      ReadDirectoryTotals(end, endPos, [&](std::int64_t at, std::uint8_t* buffer, std::size_t count) {
        return file.ReadAt(at, buffer, count);
      });
  if (!totals.Consistent) {
    error = "zip64 end record contradicts the end record";
    return false;
  }
  // The directory ends where its end record starts; what lies in front of its stated offset is a
  // prefix (a self-extractor stub) that the local header offsets leave out.
  if (totals.Size > static_cast<std::uint64_t>(totals.RecordPos)) {
    error = "zip directory larger than the archive";
    return false;
  }
  const std::int64_t start = totals.RecordPos - static_cast<std::int64_t>(totals.Size);
  dir.Prefix = start - static_cast<std::int64_t>(std::min<std::uint64_t>(totals.Offset, INT64_MAX / 2));
  if (totals.Size > 0 && !HasCentralSignature(file, start)) {
    error = "zip directory not found where the end record places it";
    return false;
  }
  auto stream = std::make_unique<ArchiveStream>(file, start, totals.RecordPos);
  while (!stream->AtEnd()) {
    KvxEntry e;
    if (!ReadEntry(*stream, e)) {
      error = "damaged zip directory";
      return false;
    }
    dir.Entries.push_back(std::move(e));
  }
  if (!EntryCountAgrees(dir.Entries.size(), totals.Entries)) {
    error = "the end record's entry count does not match the zip directory";
    return false;
  }
  if (EntriesOverlap(dir.Entries)) {
    error = "entries share their data (overlapping entries)";
    return false;
  }
  return true;
}
