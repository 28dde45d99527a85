// Reading the volumes of a spanned set in order.
#include "zip/SpanInput.h"

#include <algorithm>

#include "zip/ZipComp.h"

std::int64_t ReadInput(TZipComponent& zip, void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t got = FileRead(zip.VolumeHandle, buffer, count);
  return got < 0 ? 0 : got;
}

bool AtInputEnd(TZipComponent& zip) {
  const std::int64_t position = FileSeek(zip.VolumeHandle, 0, 1);
  const std::int64_t end = FileSeek(zip.VolumeHandle, 0, 2);
  if (position < 0 || end < 0) return false;
  if (position != end) FileSeek(zip.VolumeHandle, position, 0);
  return position == end;
}

void NextVolume(TZipComponent& zip, std::int32_t messageId) {
  if (zip.CurrentVolume >= zip.LastVolume) throw EZipComponent(messageId, true);
  zip.OpenVolume(zip.CurrentVolume + 1);
}

void ReadRecord(TZipComponent& zip, std::uint8_t* record, std::int64_t size, std::int32_t messageId) {
  while (ReadInput(zip, record, size) < size) {
    if (!AtInputEnd(zip)) throw EZipComponent(messageId, true);
    NextVolume(zip, messageId);
  }
}

void SkipInput(TZipComponent& zip, std::uint32_t count, std::int32_t messageId) {
  std::int64_t left = count;
  while (left > 0) {
    const std::int64_t position = FileSeek(zip.VolumeHandle, 0, 1);
    const std::int64_t end = FileSeek(zip.VolumeHandle, 0, 2);
    if (position < 0 || end < 0) throw EZipComponent(messageId, true);
    const std::int64_t step = std::min(left, end > position ? end - position : 0);
    if (FileSeek(zip.VolumeHandle, position + step, 0) < 0) throw EZipComponent(messageId, true);
    left -= step;
    if (left > 0) NextVolume(zip, messageId);
  }
}
