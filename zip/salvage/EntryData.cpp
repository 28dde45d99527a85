// Finding where a local entry's data ends in the cut file and checking it: CRC of stored data,
// inflating deflated data, and data descriptors found by their signature.
#include "zip/salvage/EntryData.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "zip/records/ReadExact.h"
#include "zipformat/ZipRecords.h"

namespace {

constexpr std::int64_t ChunkSize = 64 * 1024;

bool ReadAt(FileHandle file, std::int64_t at, void* buffer, std::int64_t count) {
  return FileSeek(file, at, 0) == at && ReadExact(file, buffer, count) == count;
}

// The descriptor's fields after its signature: CRC, then the sizes, 32 or 64 bits wide.
struct DescriptorFields {
  std::uint32_t Crc32;
  std::uint64_t Compressed;
  std::uint64_t Uncompressed;
};

DescriptorFields ReadFields(const ByteReader& r, std::size_t at, bool wide) {
  if (wide) return {r.U32(at), r.U64(at + 4), r.U64(at + 12)};
  return {r.U32(at), r.U32(at + 4), r.U32(at + 8)};
}

std::int64_t FieldsLength(bool wide) {
  return wide ? 20 : 12;
}

}  // namespace

bool InflateToEnd(FileHandle file, std::int64_t start, std::int64_t end, std::uint64_t maxOutput,
                  EntryDataFound& found, const InflatedSink& sink) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  std::vector<std::uint8_t> in(static_cast<std::size_t>(ChunkSize)), out(static_cast<std::size_t>(ChunkSize));
  std::int64_t at = start;
  uLong crc = crc32(0, nullptr, 0);
  std::uint64_t produced = 0;
  int status = Z_OK;
  if (FileSeek(file, at, 0) != at) status = Z_ERRNO;
  while (status == Z_OK) {
    if (stream.avail_in == 0) {
      const std::int64_t wanted = std::min<std::int64_t>(ChunkSize, end - at);
      const std::int64_t got = wanted > 0 ? ReadExact(file, in.data(), wanted) : 0;
      if (got <= 0) break;
      at += got;
      stream.next_in = in.data();
      stream.avail_in = static_cast<uInt>(got);
    }
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    status = inflate(&stream, Z_NO_FLUSH);
    const std::size_t made = out.size() - stream.avail_out;
    produced += made;
    crc = crc32(crc, out.data(), static_cast<uInt>(made));
    if (produced > maxOutput || (sink && made > 0 && !sink(out.data(), made))) break;
    if (status == Z_BUF_ERROR && made > 0) status = Z_OK;
  }
  const bool ended = status == Z_STREAM_END && produced <= maxOutput;
  found = {stream.total_in, produced, static_cast<std::uint32_t>(crc)};
  inflateEnd(&stream);
  return ended;
}

bool CrcOfStored(FileHandle file, std::int64_t start, std::uint64_t count, std::uint32_t& crc) {
  if (FileSeek(file, start, 0) != start) return false;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(ChunkSize));
  uLong sum = crc32(0, nullptr, 0);
  while (count > 0) {
    const auto wanted =
        static_cast<std::int64_t>(std::min<std::uint64_t>(count, static_cast<std::uint64_t>(ChunkSize)));
    if (ReadExact(file, buffer.data(), wanted) != wanted) return false;
    sum = crc32(sum, buffer.data(), static_cast<uInt>(wanted));
    count -= static_cast<std::uint64_t>(wanted);
  }
  crc = static_cast<std::uint32_t>(sum);
  return true;
}

bool FindDescriptor(FileHandle file, std::int64_t start, std::int64_t end, bool wide, bool checkStored,
                    EntryDataFound& found, std::int64_t& descriptorLength) {
  const std::int64_t length = 4 + FieldsLength(wide);
  std::vector<std::uint8_t> window(static_cast<std::size_t>(ChunkSize + length));
  uLong crc = crc32(0, nullptr, 0);
  std::int64_t summed = start;  // the CRC covers [start, summed)
  for (std::int64_t base = start; base + length <= end; base += ChunkSize) {
    const std::int64_t count = std::min<std::int64_t>(static_cast<std::int64_t>(window.size()), end - base);
    if (!ReadAt(file, base, window.data(), count)) return false;
    for (std::int64_t i = 0; i < ChunkSize && i + length <= count; ++i) {
      const ByteReader r(window.data() + i, static_cast<std::size_t>(length));
      if (r.U32(0) != DescriptorRec::Signature) continue;
      const DescriptorFields fields = ReadFields(r, 4, wide);
      const std::int64_t distance = base + i - start;
      if (fields.Compressed != static_cast<std::uint64_t>(distance)) continue;
      if (checkStored) {
        if (fields.Uncompressed != fields.Compressed) continue;
        const std::int64_t from = summed - base;
        crc = crc32(crc, window.data() + from, static_cast<uInt>(i - from));
        summed = base + i;
        if (static_cast<std::uint32_t>(crc) != fields.Crc32) continue;
      }
      found = {fields.Compressed, fields.Uncompressed, fields.Crc32};
      descriptorLength = length;
      return true;
    }
    if (checkStored) {
      const std::int64_t upTo = std::min<std::int64_t>(ChunkSize, count);
      crc = crc32(crc, window.data() + (summed - base), static_cast<uInt>(base + upTo - summed));
      summed = base + upTo;
    }
  }
  return false;
}

std::int64_t MatchingDescriptorAt(FileHandle file, std::int64_t at, std::int64_t end, bool wide,
                                  const EntryDataFound& found) {
  const std::int64_t fields = FieldsLength(wide);
  std::uint8_t present[24] = {};
  const std::int64_t available = std::max<std::int64_t>(0, std::min<std::int64_t>(4 + fields, end - at));
  if (available > 0 && !ReadAt(file, at, present, available)) return 0;
  // The descriptor as it should read, with its signature and without.
  std::uint8_t expected[24] = {};
  ByteWriter w(expected, sizeof expected);
  w.PutU32(0, DescriptorRec::Signature);
  w.PutU32(4, found.Crc32);
  if (wide) {
    w.PutU64(8, found.Compressed);
    w.PutU64(16, found.Uncompressed);
  } else {
    w.PutU32(8, static_cast<std::uint32_t>(found.Compressed));
    w.PutU32(12, static_cast<std::uint32_t>(found.Uncompressed));
    if (found.Compressed > 0xFFFFFFFF || found.Uncompressed > 0xFFFFFFFF) return 0;
  }
  const bool cut = at + 4 + fields > end;
  for (const std::int64_t skip : {std::int64_t{0}, std::int64_t{4}}) {
    const std::int64_t length = 4 + fields - skip;
    const std::int64_t compared = std::min(available, length);
    if (!std::equal(present, present + compared, expected + skip)) continue;
    if (compared == length) return length;
    if (cut && at + compared == end) return -1;
  }
  return 0;
}
