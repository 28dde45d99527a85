// Writing the joined archive: single writes and copies from the input across volumes.
#include <algorithm>

#include "zip/SpanInput.h"
#include "zip/ZipComp.h"

void TZipComponent::WriteToOutput(const void* buffer, std::int32_t count, std::int32_t messageId) {
  if (count <= 0) return;
  if (FileWrite(OutputHandle, buffer, count) != count) throw EZipComponent(messageId, true);
  if (OnProgress && ReportWrites) OnProgress(this, ptWritten, std::string(), count);
}

void TZipComponent::CopyToOutput(void* buffer, std::uint32_t count, std::int32_t messageId) {
  while (count > 0) {
    const std::uint32_t wanted = std::min(count, SpanTransferSize);
    const std::int64_t got = ReadInput(*this, buffer, wanted);
    WriteToOutput(buffer, static_cast<std::int32_t>(got), messageId);
    count -= static_cast<std::uint32_t>(got);
    if (got < wanted) {
      if (!AtInputEnd(*this)) throw EZipComponent(messageId, true);
      NextVolume(*this, messageId);
    }
  }
}
