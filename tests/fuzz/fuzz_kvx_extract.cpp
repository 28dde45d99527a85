// Feeds arbitrary bytes to the unzip library as an archive: first in test mode, then extracting
// into a private folder that is removed afterwards.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/UnzipLibraryEntry.h"
#include "tests/support/ZipWriter.h"

namespace {

std::int32_t Quiet(UnzipCallbackRecord* record) {
  // Answer the questions the way that exercises the most code: a password, and overwrite.
  if (record->ActionCode == kvxPassword) {
    record->Text[0] = 'x';
    record->Text[1] = 0;
    record->Code = 1;
  }
  if (record->ActionCode == kvxOverwrite) record->Number = 1;
  return 0;
}

KvxUnzipExecFunction LibraryExec = nullptr;

}  // namespace

// Loads the library before the first input, so the fuzzer counts its coverage from the start.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LibraryExec = LoadUnzipLibraryEntry();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const KvxUnzipExecFunction exec = LibraryExec;
  TTempFolder folder;
  const std::string archive = folder / "input.zip";
  WriteBytes(archive, std::string(reinterpret_cast<const char*>(data), size));
  std::filesystem::create_directory(folder / "out");
  UnzipCommandRecord cmd{};
  cmd.ArchiveName = archive.c_str();
  cmd.Password = "";
  cmd.Callback = Quiet;
  cmd.Version = kvxLibraryVersion;
  cmd.DirNamesFlag = -1;
  cmd.OverwriteFlag = -1;
  cmd.PasswordReqCount = 2;
  cmd.LayoutMarker = kvxLayoutMarker;
  const std::string saved = std::filesystem::current_path();
  if (chdir((folder / "out").c_str()) != 0) return 0;
  cmd.TestFlag = -1;
  exec(&cmd);
  cmd.TestFlag = 0;
  exec(&cmd);
  if (chdir(saved.c_str()) != 0) std::abort();
  return 0;
}
