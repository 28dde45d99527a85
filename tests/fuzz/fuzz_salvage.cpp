// Fuzz target for Salvage: the input is a cut archive. Every input must end in a repaired archive
// that List reads whole, with one entry per salvaged one, or in a report and no output; nothing
// is left open and nothing but the input stays in the folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Folders.h"
#include "tests/fuzz/UnzipLibraryEntry.h"
#include "tests/support/StagedDrives.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

struct Scratch {
  // The library stays loaded between runs, whatever the component loads and unloads: its coverage
  // counters must not go away under the fuzzer.
  KvxUnzipExecFunction library = LoadUnzipLibraryEntry();
  TTempFolder folder;
  TStagedDriveTable drives;
  TDriveTableScope scope{drives};
  std::string root = drives.Stage(folder.Path(), "", DRIVE_FIXED);
};

const Scratch& TheScratch() {
  static const Scratch scratch;
  return scratch;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Scratch& scratch = TheScratch();
  const std::string file = scratch.root + "input.zip";
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, out);
  std::fclose(out);

  TZipComponent zip(nullptr);
  zip.SetUnattended(true);
  zip.SetTempDir(scratch.root);
  zip.SetDLLDirectory(FOLIVO_BIN_DIR);
  std::string repaired;
  const std::int32_t result = zip.Salvage(file, repaired);
  Check(!zip.InOperation());
  if (result != 0) {
    Check(repaired.empty() && zip.LastErrorCode() != 0);
  } else {
    Check(zip.LastErrorCode() == MessageId::SalvagedEntries && FileExists(repaired));
    zip.SetZipFileName(repaired);
    Check(!zip.ZipFileName().empty());
    Check(zip.EntryCount() + zip.ListResults().SkippedDirCount > 0);
    Check(zip.Volume().VolumeHandle() == NoFileHandle);
    DeleteFileA(repaired.c_str());
  }
  Check(FolderEntryNames(scratch.folder.Path()) == std::vector<std::string>{"input.zip"});
  return 0;
}
