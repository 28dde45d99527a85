#include "zip/ZipStream.h"

void TZipStream::AttachBuffer(const void* buffer, std::int64_t size) {
  FData.clear();
  FExternal = static_cast<const std::uint8_t*>(buffer);
  FExternalSize = (FExternal != nullptr && size > 0) ? size : 0;
  FPosition = 0;
}
