// Feeds arbitrary bytes to the unzip library's Deflate64 decoder: the input is the data of the
// one entry (method 9) of an archive, tested but not extracted.

#include <cstdint>
#include <string>

#include "tests/fuzz/UnzipLibraryEntry.h"
#include "tests/support/ZipWriter.h"

namespace {

KvxUnzipExecFunction LibraryExec = nullptr;

// One entry declaring 1 MiB, so that the size check stops no stream before the decoder does.
std::string ArchiveAround(const std::string& data) {
  const std::string name = "d64";
  auto header = [&](std::string& out, bool central) {
    AppendLe32(out, central ? 0x02014B50 : 0x04034B50);
    if (central) AppendLe16(out, 0x0314);
    AppendLe16(out, 21);  // version needed
    AppendLe16(out, 0);   // flags
    AppendLe16(out, 9);   // Deflate64
    AppendLe32(out, 0);   // DOS time and date
    AppendLe32(out, 0);   // CRC-32
    AppendLe32(out, static_cast<std::uint32_t>(data.size()));
    AppendLe32(out, 1u << 20);
    AppendLe16(out, static_cast<std::uint32_t>(name.size()));
    AppendLe16(out, 0);  // extra field
    if (central) {
      AppendLe32(out, 0);  // comment length, volume
      AppendLe16(out, 0);  // internal attributes
      AppendLe32(out, 0);  // external attributes
      AppendLe32(out, 0);  // local header offset
    }
    out += name;
  };
  std::string zip;
  header(zip, false);
  zip += data;
  const std::size_t directory = zip.size();
  header(zip, true);
  AppendLe32(zip, 0x06054B50);
  AppendLe32(zip, 0);
  AppendLe16(zip, 1);
  AppendLe16(zip, 1);
  AppendLe32(zip, static_cast<std::uint32_t>(zip.size() - directory - 12));
  AppendLe32(zip, static_cast<std::uint32_t>(directory));
  AppendLe16(zip, 0);
  return zip;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  LibraryExec = LoadUnzipLibraryEntry();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TTempFolder folder;
  const std::string archive = folder / "input.zip";
  WriteBytes(archive, ArchiveAround(std::string(reinterpret_cast<const char*>(data), size)));
  UnzipCommandRecord cmd{};
  cmd.ArchiveName = archive.c_str();
  cmd.Password = "";
  cmd.Version = kvxLibraryVersion;
  cmd.TestFlag = -1;
  cmd.LayoutMarker = kvxLayoutMarker;
  LibraryExec(&cmd);
  return 0;
}
