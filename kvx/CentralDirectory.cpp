#include "kvx/CentralDirectory.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "kvx/ByteReader.h"
#include "kvx/EntryName.h"

namespace {

constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::uint32_t Zip64EndSignature = 0x06064b50;
constexpr std::uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::size_t EndRecordSize = 22;
constexpr std::size_t CentralHeaderSize = 46;

struct DirectoryPlace {
  std::int64_t RecordPos = 0;  // the end record (or the zip64 end record) in the file
  std::uint64_t Size = 0;
  std::uint64_t Offset = 0;
};

// Finds the last end record whose comment fits in the file.
bool FindEndRecord(const ArchiveFile& file, std::int64_t& pos, std::vector<std::uint8_t>& record) {
  std::int64_t tail = std::min<std::int64_t>(file.Size(), EndRecordSize + 0xFFFF);
  if (tail < static_cast<std::int64_t>(EndRecordSize)) return false;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(tail));
  if (!file.ReadAt(file.Size() - tail, buf.data(), buf.size())) return false;
  for (std::size_t i = buf.size() - EndRecordSize + 1; i-- > 0;) {
    ByteReader r(buf.data() + i, buf.size() - i);
    if (r.U32() != EndSignature) continue;
    r.Skip(16);
    if (r.U16() > r.Remaining()) continue;
    pos = file.Size() - tail + static_cast<std::int64_t>(i);
    record.assign(buf.begin() + static_cast<std::ptrdiff_t>(i),
                  buf.begin() + static_cast<std::ptrdiff_t>(i + EndRecordSize));
    return true;
  }
  return false;
}

// Replaces the place with the zip64 end record's when a locator precedes the end record.
void ApplyZip64(const ArchiveFile& file, std::int64_t endPos, DirectoryPlace& place) {
  std::uint8_t loc[20];
  if (endPos < 20 || !file.ReadAt(endPos - 20, loc, sizeof loc)) return;
  ByteReader lr(loc, sizeof loc);
  if (lr.U32() != Zip64LocatorSignature) return;
  lr.U32();
  std::uint64_t recordOffset = lr.U64();
  // The zip64 end record sits right before the locator; its stored offset may lack the prefix.
  std::uint8_t rec[56];
  std::int64_t candidates[] = {endPos - 20 - 56, static_cast<std::int64_t>(recordOffset)};
  for (std::int64_t at : candidates) {
    if (at < 0 || !file.ReadAt(at, rec, sizeof rec)) continue;
    ByteReader r(rec, sizeof rec);
    if (r.U32() != Zip64EndSignature) continue;
    r.Skip(36);
    place.Size = r.U64();
    place.Offset = r.U64();
    place.RecordPos = at;
    return;
  }
}

bool HasCentralSignature(const ArchiveFile& file, std::int64_t pos) {
  std::uint8_t sig[4];
  if (!file.ReadAt(pos, sig, sizeof sig)) return false;
  ByteReader r(sig, sizeof sig);
  return r.U32() == CentralSignature;
}

void ApplyExtraFields(const std::vector<std::uint8_t>& extra, KvxEntry& e) {
  ByteReader r(extra.data(), extra.size());
  while (r.Remaining() >= 4) {
    std::uint16_t id = r.U16();
    std::uint16_t len = r.U16();
    const std::uint8_t* data = r.Bytes(len);
    if (!data) return;
    ByteReader f(data, len);
    if (id == 0x0001) {
      if (e.UncompressedSize == 0xFFFFFFFF) e.UncompressedSize = f.U64();
      if (e.CompressedSize == 0xFFFFFFFF) e.CompressedSize = f.U64();
      if (e.LocalHeaderOffset == 0xFFFFFFFF) e.LocalHeaderOffset = f.U64();
    } else if (id == 0x5455 && len >= 5 && (data[0] & 1)) {
      f.U8();
      e.HasUnixTime = true;
      e.UnixTime = static_cast<std::int32_t>(f.U32());
    }
  }
}

bool ReadEntry(ArchiveStream& in, KvxEntry& e) {
  std::uint8_t fixed[CentralHeaderSize];
  if (!in.Read(fixed, sizeof fixed)) return false;
  ByteReader r(fixed, sizeof fixed);
  if (r.U32() != CentralSignature) return false;
  r.U8();
  e.HostSystem = r.U8();
  r.U16();
  e.Flags = r.U16();
  e.Method = r.U16();
  std::uint32_t dosTime = r.U16();
  e.DosDateTime = (static_cast<std::uint32_t>(r.U16()) << 16) | dosTime;
  e.Crc = r.U32();
  e.CompressedSize = r.U32();
  e.UncompressedSize = r.U32();
  std::uint16_t nameLen = r.U16();
  std::uint16_t extraLen = r.U16();
  std::uint16_t commentLen = r.U16();
  r.Skip(4);
  e.ExternalAttributes = r.U32();
  e.LocalHeaderOffset = r.U32();
  std::string raw(nameLen, '\0');
  std::vector<std::uint8_t> extra(extraLen);
  if (!in.Read(raw.data(), nameLen) || !in.Read(extra.data(), extraLen)) return false;
  if (commentLen > 0) {
    e.HasComment = true;
    if (!in.Read(&e.CommentFirstByte, 1) || !in.Read(nullptr, commentLen - 1u)) return false;
  }
  ApplyExtraFields(extra, e);
  e.Name = EntryNameToUtf8(raw, e.Flags, e.HostSystem, extra);
  return true;
}

}  // namespace

bool ReadCentralDirectory(const ArchiveFile& file, CentralDirectory& dir, std::string& error) {
  std::int64_t endPos = 0;
  std::vector<std::uint8_t> end;
  if (!FindEndRecord(file, endPos, end)) {
    error = "no zip directory found";
    return false;
  }
  ByteReader r(end.data(), end.size());
  r.Skip(12);
  DirectoryPlace place{endPos, r.U32(), r.U32()};
  ApplyZip64(file, endPos, place);
  std::int64_t prefix = 0;
  if (place.Size <= static_cast<std::uint64_t>(place.RecordPos) &&
      place.Offset <= static_cast<std::uint64_t>(place.RecordPos) - place.Size)
    prefix = place.RecordPos - static_cast<std::int64_t>(place.Size + place.Offset);
  std::int64_t start = static_cast<std::int64_t>(std::min<std::uint64_t>(place.Offset, file.Size())) + prefix;
  if (place.Size > 0 && !HasCentralSignature(file, start)) {
    if (prefix != 0 && HasCentralSignature(file, start - prefix)) {
      start -= prefix;
      prefix = 0;
    } else {
      error = "zip directory not found where the end record places it";
      return false;
    }
  }
  dir.Prefix = prefix;
  std::int64_t stop = place.RecordPos;
  if (place.Size < static_cast<std::uint64_t>(stop - start))
    stop = start + static_cast<std::int64_t>(place.Size);
  auto stream = std::make_unique<ArchiveStream>(file, start, stop);
  while (!stream->AtEnd()) {
    KvxEntry e;
    if (!ReadEntry(*stream, e)) {
      error = "damaged zip directory";
      return false;
    }
    dir.Entries.push_back(std::move(e));
  }
  return true;
}
