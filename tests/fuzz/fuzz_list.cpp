// Fuzz target for List: the input is the archive file. Every input must end in a listing or a
// report, with no file left open, and a second List on the same component must work too.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "zip/ZipComp.h"

namespace {

std::string ScratchFile() {
  static std::string name;
  if (name.empty()) {
    char pattern[] = "/tmp/folivo-fuzz-list-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    close(fd);
    name = pattern;
    std::atexit([] { unlink(name.c_str()); });
  }
  return name;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file = ScratchFile();
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, out);
  std::fclose(out);

  TZipComponent zip(nullptr);
  zip.SetUnattended(true);
  for (int pass = 0; pass < 2; ++pass) {
    zip.SetZipFileName(file);
    Check(zip.Volume().VolumeHandle() == NoFileHandle);
    if (zip.ZipFileName().empty()) {
      Check(zip.EntryCount() == 0);
      Check(zip.LastErrorCode != 0);
    }
    for (const auto& entry : zip.ListResults().DirEntries)
      Check(entry->ExtraFieldLength == 0 || entry->ExtraData);
  }
  return 0;
}
