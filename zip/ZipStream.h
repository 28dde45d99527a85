#pragma once
// The component's memory stream.
#include <cstdint>

#include "classlib/MemoryStream.h"

class TZipStream : public TMemoryStream {
 public:
  TZipStream() { Clear(); }
  // Reads from the block from now on, without copying it and without taking ownership.
  virtual void AttachBuffer(const void* buffer, std::int64_t size);
};
