// LocateEndRecord: finds the end of central directory record at the end of the volume file.
#include <algorithm>
#include <cstring>
#include <vector>

#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/records/ReadExact.h"
#include "zip/records/ZipRecords.h"
#include "zip/volumes/VolumeNames.h"

namespace {

constexpr std::int64_t SearchLength = EndRec::MaxCommentLength + EndRec::Size;  // 65557
// Positions are 32-bit; a declared comment may reach 64 KiB past the end of the file.
constexpr std::int64_t MaxArchiveSize = 0x7FFFFFFF - 0x10000;

}  // namespace

// On true the record holds the end record and the volume file is open. On false
// (quiet mode only) the file may still be open: the caller closes it in every case.
bool TZipComponent::LocateEndRecord(std::uint8_t (&record)[EndRec::Size], bool raise) {
  FList.ArchiveComment.clear();
  bool marker = false;
  FList.EndRecordPos = 0;
  if (!FVolume.OpenFile()) {
    if (raise) throw EZipComponent(MessageId::InputFileMissing, true);
    ReportMessage(MessageId::ArchiveOpenFailed, "");
    return false;
  }
  const std::int32_t labelled = DiskOfLabel(FVolume.VolumeLabel());

  std::uint8_t head[4];
  if (ReadExact(FVolume.VolumeHandle(), head, 4) == 4 && ByteReader(head, 4).U32(0) == SpanMarker &&
      ReadExact(FVolume.VolumeHandle(), head, 4) == 4 && ByteReader(head, 4).U32(0) == LocalRec::Signature) {
    marker = true;
    FList.MultiVolume = true;
  }

  const std::int64_t size = FileSeek(FVolume.VolumeHandle(), 0, 2);
  if (size > MaxArchiveSize) {
    if (raise) throw EZipComponent(MessageId::ArchiveTooLarge, true);
    ReportMessage(MessageId::ArchiveTooLarge, "");
    return false;
  }
  if (size >= 0) {
    FList.DataEndPos = FList.ArchiveFileSize = static_cast<std::int32_t>(size);
    if (size >= static_cast<std::int64_t>(EndRec::Size) &&
        FileSeek(FVolume.VolumeHandle(), size - EndRec::Size, 0) >= 0 &&
        ReadExact(FVolume.VolumeHandle(), record, EndRec::Size) == static_cast<std::int64_t>(EndRec::Size) &&
        IsEndRecordSignature(record)) {
      FList.EndRecordPos = static_cast<std::int32_t>(size - EndRec::Size);
      return true;
    }
    try {
      const std::int64_t length = std::min(size, SearchLength);
      std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length) + 1);
      if (FileSeek(FVolume.VolumeHandle(), size - length, 0) < 0)
        throw EZipComponent(MessageId::InputSeekFailed, true);
      if (ReadExact(FVolume.VolumeHandle(), buffer.data(), length) != length)
        throw EZipComponent(MessageId::EndRecordReadFailed, true);
      const auto found = FindLastEndRecord(buffer.data(), static_cast<std::size_t>(length));
      if (found != static_cast<std::size_t>(length)) {
        const auto i = static_cast<std::int64_t>(found);
        FList.EndRecordPos = static_cast<std::int32_t>(size - length + i);
        std::memcpy(record, &buffer[static_cast<std::size_t>(i)], EndRec::Size);
        const std::int64_t commentLength = ByteReader(record, EndRec::Size).U16(EndRec::CommentLength);
        const std::int64_t declaredEnd = i + static_cast<std::int64_t>(EndRec::Size) + commentLength;
        const std::int64_t excess = declaredEnd - length;
        if (excess != 0) {
          FList.DataEndPos = static_cast<std::int32_t>(size + excess);
          // Zeros that pad the file to the next multiple of 512 bytes are no garbage.
          const bool padding = static_cast<std::uint32_t>(FList.ArchiveFileSize - FList.DataEndPos) < 512 &&
                               FList.ArchiveFileSize % 512 == 0 &&
                               std::all_of(buffer.begin() + declaredEnd, buffer.begin() + length,
                                           [](std::uint8_t b) { return b == 0; });
          if (!padding) ReportMessage(MessageId::GarbageAtEnd, "");
        }
        if (commentLength != 0) {
          const auto first = buffer.begin() + i + static_cast<std::int64_t>(EndRec::Size);
          const auto last = buffer.begin() + std::min(declaredEnd, length);
          FList.ArchiveComment.assign(first, std::find(first, last, std::uint8_t{0}));
        }
        return true;
      }
    } catch (...) {
      if (raise) throw;
      return false;
    }
  }
  if (!raise) return false;
  if (!marker && labelled != 0) throw EZipComponent(MessageId::NotLastDiskOfSet, labelled);
  if (marker && labelled == 1) throw EZipComponent(MessageId::FirstDiskOfSet, true);
  if (marker) throw EZipComponent(MessageId::FirstFileOfSet, true);
  throw EZipComponent(MessageId::NotAValidArchive, true);
}
