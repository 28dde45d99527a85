// Fuzz target for ReadSpan: the input is written as part 001 of a numbered set on a fixed drive
// and as its last part, and joined unattended; then as a split set, split.z01 and split.zip, cut
// where zip -s 64k cuts its parts (or whole in both when shorter). Any outcome but a crash or a
// hang is fine, as long as a failed run leaves no output behind.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/StagedDrives.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"

namespace {

// The size of every part but the last of a set that zip -s 64k splits.
constexpr std::size_t SplitPartSize = 65536;

// The set lies in a folder staged as a fixed drive, so the drive layer answers without reading the
// system's mount table for every input.
const TTempFolder& Folder() {
  static const TTempFolder folder;
  static TStagedDriveTable drives;
  static const TDriveTableScope scope(drives);
  static const std::string root = drives.Stage(folder.Path(), "", DRIVE_FIXED);
  return folder;
}

void JoinOnce(const std::string& archive) {
  TZipComponent zip(nullptr);
  zip.SetUnattended(true);
  zip.SetTempDir(Folder() / "out");
  std::string out = Folder() / "out/";
  const std::int32_t result = zip.ReadSpan(archive, out);
  if (result != 0 && result != -7 && result != -8 && result != -9) std::abort();
  if (zip.InOperation() || zip.Volume().VolumeHandle() != NoFileHandle ||
      zip.JoinedArchive().OutputHandle() != NoFileHandle)
    std::abort();
  if (result != 0 && !out.empty() && std::filesystem::exists(out)) std::abort();
  std::filesystem::remove_all(Folder() / "out");
  std::filesystem::create_directory(Folder() / "out");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::filesystem::create_directories(Folder() / "out");
  WriteBytes(Folder() / "set001.zip", bytes);
  JoinOnce(Folder() / "set001.zip");
  WriteBytes(Folder() / "set002.zip", bytes);
  JoinOnce(Folder() / "set002.zip");
  std::filesystem::remove(Folder() / "set002.zip");
  const std::size_t cut = bytes.size() > SplitPartSize ? SplitPartSize : 0;
  WriteBytes(Folder() / "split.z01", cut != 0 ? bytes.substr(0, cut) : bytes);
  WriteBytes(Folder() / "split.zip", bytes.substr(cut));
  JoinOnce(Folder() / "split.zip");
  std::filesystem::remove(Folder() / "split.z01");
  return 0;
}
