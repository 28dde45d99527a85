// Reading the volumes of a set in order, running on from one volume into the next.
#include <algorithm>

#include "zip/ZipException.h"
#include "zip/volumes/ZipVolume.h"

std::int64_t TZipVolume::ReadInput(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t got = FileRead(FFile.Get(), buffer, count);
  return got < 0 ? 0 : got;
}

bool TZipVolume::AtInputEnd() {
  const std::int64_t position = FileSeek(FFile.Get(), 0, 1);
  const std::int64_t end = FileSeek(FFile.Get(), 0, 2);
  if (position < 0 || end < 0) return false;
  if (position != end) FileSeek(FFile.Get(), position, 0);
  return position == end;
}

void TZipVolume::NextVolume(std::int32_t messageId) {
  if (FCurrentVolume >= FLastVolume) throw EZipComponent(messageId, true);
  OpenVolume(FCurrentVolume + 1);
}

void TZipVolume::ReadRecord(std::uint8_t* record, std::int64_t size, std::int32_t messageId) {
  while (ReadInput(record, size) < size) {
    if (!AtInputEnd()) throw EZipComponent(messageId, true);
    NextVolume(messageId);
  }
}

void TZipVolume::SkipInput(std::uint32_t count, std::int32_t messageId) {
  std::int64_t left = count;
  while (left > 0) {
    const std::int64_t position = FileSeek(FFile.Get(), 0, 1);
    const std::int64_t end = FileSeek(FFile.Get(), 0, 2);
    if (position < 0 || end < 0) throw EZipComponent(messageId, true);
    const std::int64_t step = std::min(left, end > position ? end - position : 0);
    if (FileSeek(FFile.Get(), position + step, 0) < 0) throw EZipComponent(messageId, true);
    left -= step;
    if (left > 0) NextVolume(messageId);
  }
}
