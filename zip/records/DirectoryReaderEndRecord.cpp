// LocateEndRecord: finds the end of central directory record at the end of the volume file.
#include <algorithm>
#include <cstring>
#include <vector>

#include "zip/ComponentServices.h"
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/records/DirectoryReader.h"
#include "zip/records/ReadExact.h"
#include "zip/volumes/VolumeNames.h"
#include "zip/volumes/ZipVolume.h"
#include "zipformat/ZipRecords.h"

namespace {

constexpr std::int64_t SearchLength = EndRec::MaxCommentLength + EndRec::Size;  // 65557
// A file padded with zeros to a whole number of these is no garbage after its end record.
constexpr std::uint32_t PaddingBlock = 512;

// Whether the file begins with the spanning marker and then a local header, as the first volume
// of a spanned set does.
bool StartsWithSpanMarker(FileHandle file) {
  std::uint8_t head[4];
  return ReadExact(file, head, 4) == 4 && ByteReader(head, 4).U32(0) == SpanMarker &&
         ReadExact(file, head, 4) == 4 && ByteReader(head, 4).U32(0) == LocalRec::Signature;
}

// Reads the end record from the last bytes of a file of size bytes; false when they are none.
bool ReadRecordAtEnd(FileHandle file, std::int64_t size, std::uint8_t (&record)[EndRec::Size]) {
  return size >= static_cast<std::int64_t>(EndRec::Size) && FileSeek(file, size - EndRec::Size, 0) >= 0 &&
         ReadExact(file, record, EndRec::Size) == static_cast<std::int64_t>(EndRec::Size) &&
         IsEndRecordSignature(record);
}

// The last length bytes of a file of size bytes, with one byte more at the end.
std::vector<std::uint8_t> ReadTail(FileHandle file, std::int64_t size, std::int64_t length) {
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length) + 1);
  if (FileSeek(file, size - length, 0) < 0) throw EZipComponent(MessageId::InputSeekFailed, true);
  if (ReadExact(file, buffer.data(), length) != length)
    throw EZipComponent(MessageId::EndRecordReadFailed, true);
  return buffer;
}

// Whether what lies between the declared end and the end of the file are only the zeros that pad
// the file to the next whole block.
bool IsBlockPadding(const TListResults& list, const std::vector<std::uint8_t>& tail, std::int64_t declaredEnd,
                    std::int64_t length) {
  const auto isZero = [](std::uint8_t b) { return b == 0; };
  return static_cast<std::uint32_t>(list.ArchiveFileSize - list.DataEndPos) < PaddingBlock &&
         list.ArchiveFileSize % PaddingBlock == 0 &&
         std::all_of(tail.begin() + declaredEnd, tail.begin() + length, isZero);
}

// The failure that says why a volume holds no end record, by what its start and its disk label
// tell of the set it belongs to.
EZipComponent NoEndRecordError(bool marker, std::int32_t labelled) {
  if (!marker && labelled != 0) return EZipComponent(MessageId::NotLastDiskOfSet, labelled);
  if (marker && labelled == 1) return EZipComponent(MessageId::FirstDiskOfSet, true);
  if (marker) return EZipComponent(MessageId::FirstFileOfSet, true);
  return EZipComponent(MessageId::NotAValidArchive, true);
}

}  // namespace

bool TDirectoryReader::LocateEndRecord(std::uint8_t (&record)[EndRec::Size], bool raise) {
  FList.ArchiveComment.clear();
  FList.EndRecordPos = 0;
  if (!FVolume.OpenFile()) {
    if (raise) throw EZipComponent(MessageId::InputFileMissing, true);
    FZip.ReportMessage(MessageId::ArchiveOpenFailed, "");
    return false;
  }
  const std::int32_t labelled = DiskOfLabel(FVolume.VolumeLabel());
  const bool marker = StartsWithSpanMarker(FVolume.VolumeHandle());
  if (marker) FList.MultiVolume = true;

  const std::int64_t size = FileSeek(FVolume.VolumeHandle(), 0, 2);
  if (size > MaxArchiveSize) {
    if (raise) throw EZipComponent(MessageId::ArchiveTooLarge, true);
    FZip.ReportMessage(MessageId::ArchiveTooLarge, "");
    return false;
  }
  if (raise) {
    if (size >= 0 && FindEndRecord(size, record)) return true;
    throw NoEndRecordError(marker, labelled);
  }
  // Quiet mode: whatever ends the search only means that this volume holds no end record.
  try {
    return size >= 0 && FindEndRecord(size, record);
  } catch (...) {
    return false;
  }
}

// Finds the end record in the volume file of size bytes: in its last bytes, else by its signature
// searched from the end. Reports garbage after the record's declared end.
bool TDirectoryReader::FindEndRecord(std::int64_t size, std::uint8_t (&record)[EndRec::Size]) {
  const FileHandle file = FVolume.VolumeHandle();
  FList.DataEndPos = FList.ArchiveFileSize = static_cast<std::int32_t>(size);
  if (ReadRecordAtEnd(file, size, record)) {
    FList.EndRecordPos = static_cast<std::int32_t>(size - EndRec::Size);
    return true;
  }
  const std::int64_t length = std::min(size, SearchLength);
  const std::vector<std::uint8_t> tail = ReadTail(file, size, length);
  const auto found = FindLastEndRecord(tail.data(), static_cast<std::size_t>(length));
  if (found == static_cast<std::size_t>(length)) return false;

  const auto i = static_cast<std::int64_t>(found);
  FList.EndRecordPos = static_cast<std::int32_t>(size - length + i);
  std::memcpy(record, &tail[static_cast<std::size_t>(i)], EndRec::Size);
  const std::int64_t commentLength = ByteReader(record, EndRec::Size).U16(EndRec::CommentLength);
  const std::int64_t declaredEnd = i + static_cast<std::int64_t>(EndRec::Size) + commentLength;
  const std::int64_t excess = declaredEnd - length;
  if (excess != 0) {
    FList.DataEndPos = static_cast<std::int32_t>(size + excess);
    if (!IsBlockPadding(FList, tail, declaredEnd, length)) FZip.ReportMessage(MessageId::GarbageAtEnd, "");
  }
  if (commentLength != 0) {
    const auto first = tail.begin() + i + static_cast<std::int64_t>(EndRec::Size);
    const auto last = tail.begin() + std::min(declaredEnd, length);
    FList.ArchiveComment.assign(first, std::find(first, last, std::uint8_t{0}));
  }
  return true;
}
