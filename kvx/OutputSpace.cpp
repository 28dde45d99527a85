#include "kvx/OutputSpace.h"

#include <sys/statvfs.h>

#include <algorithm>

namespace {

constexpr std::uint64_t MaxMargin = 256ull << 20;

}  // namespace

OutputSpace MeasureOutputSpace(int folderFd) {
  struct statvfs st = {};
  OutputSpace space;
  if (fstatvfs(folderFd, &st) != 0 || st.f_frsize == 0) return space;
  const std::uint64_t unit = st.f_frsize;
  const std::uint64_t size = static_cast<std::uint64_t>(st.f_blocks) * unit;
  const std::uint64_t available = static_cast<std::uint64_t>(st.f_bavail) * unit;
  space.Known = true;
  space.Margin = std::min(size / 20, MaxMargin);
  space.Usable = available > space.Margin ? available - space.Margin : 0;
  space.BlockSize = std::max<std::uint64_t>(st.f_bsize, 1);
  return space;
}
