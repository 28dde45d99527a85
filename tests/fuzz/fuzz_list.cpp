// Fuzz target for List: the input is the archive file, on a fixed drive. Every input must end in
// a listing or a report, with no file left open, and a second List on the same component must
// work too.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/support/StagedDrives.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"

namespace {

// The scratch file lies in a folder staged as a fixed drive, so the drive layer answers without
// reading the system's mount table for every input.
std::string ScratchFile() {
  static const TTempFolder folder;
  static TStagedDriveTable drives;
  static const TDriveTableScope scope(drives);
  static const std::string name = drives.Stage(folder.Path(), "", DRIVE_FIXED) + "input.zip";
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
      Check(zip.LastErrorCode() != 0);
    }
    for (const auto& entry : zip.ListResults().DirEntries)
      Check(entry->ExtraFieldLength == 0 || entry->ExtraData);
  }
  return 0;
}
