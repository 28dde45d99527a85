#pragma once
// Room for output on the destination's file system: what it has free less a margin that an
// extraction always leaves, so that unpacking an issue never fills a disk (or, for a temp folder
// kept in memory, the memory).
#include <cstdint>

struct OutputSpace {
  bool Known = false;        // false when the file system cannot be asked
  std::uint64_t Usable = 0;  // free bytes less the margin
  std::uint64_t Margin = 0;  // a twentieth of the file system's size, at most 256 MiB
  std::uint64_t BlockSize = 1;
};

OutputSpace MeasureOutputSpace(int folderFd);
// The file system is asked again after so many bytes have been written.
constexpr std::uint64_t OutputSpaceRemeasure = 1 << 20;

// The bytes a file of size takes on the file system, counted in whole blocks.
inline std::uint64_t BytesOnDisk(std::uint64_t size, std::uint64_t blockSize) {
  const std::uint64_t blocks = size / blockSize + (size % blockSize != 0 ? 1 : 0);
  return blocks > UINT64_MAX / blockSize ? UINT64_MAX : blocks * blockSize;
}
