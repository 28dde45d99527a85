// The JSON form of `kvxtool list`.
#include <cstdio>

#include "tools/ListOutput.h"
#include "tools/SafeText.h"
#include "zip/ZipComp.h"
#include "zip/records/EntryEncryption.h"

namespace {

const char* Bool(bool value) {
  return value ? "true" : "false";
}

}  // namespace

void PrintListJson(const TZipComponent& zip, const ListResult& result) {
  std::string out = "{\"entries\":[";
  const std::int32_t count = zip.EntryCount();
  for (std::int32_t i = 0; i < count; ++i) {
    const ZipDirEntry& e = *zip.ListResults().DirEntries[static_cast<std::size_t>(i)];
    const std::int32_t seq = static_cast<std::size_t>(i) < result.seqNos.size()
                                 ? result.seqNos[static_cast<std::size_t>(i)]
                                 : i + 1;
    const EntryEncryption encryption = DescribeEncryption(e);
    if (i > 0) out += ",";
    out += "\n{\"seq\":" + std::to_string(seq) + ",\"name\":" + JsonString(ShownName(e.FileName)) +
           ",\"method\":" + std::to_string(e.CompressionMethod) +
           ",\"compressed\":" + std::to_string(e.CompressedSize64) +
           ",\"uncompressed\":" + std::to_string(e.UncompressedSize64) +
           ",\"crc32\":" + std::to_string(e.Crc32) + ",\"dos_datetime\":" + std::to_string(e.FileDateTime) +
           ",\"encrypted\":" + Bool(e.Encrypted) + ",\"comment\":" + JsonString(e.FileComment) +
           ",\"data_method\":" + std::to_string(encryption.DataMethod) + ",\"encryption\":\"" +
           EncryptionName(encryption.Kind) + "\",\"key_bits\":" + std::to_string(encryption.KeyBits) + "}";
  }
  out += "],\n\"skipped_dirs\":" + std::to_string(zip.ListResults().SkippedDirCount) +
         ",\"comment\":" + JsonString(zip.ListResults().ArchiveComment) +
         ",\"multi_volume\":" + Bool(zip.ListResults().MultiVolume) +
         ",\"last_volume\":" + std::to_string(zip.Volume().LastVolume()) +
         ",\"first_entry_offset\":" + std::to_string(zip.ListResults().FirstEntryOffset) +
         ",\"central_dir_offset\":" + std::to_string(zip.ListResults().CentralDirOffset) +
         ",\"end_record_pos\":" + std::to_string(zip.ListResults().EndRecordPos) +
         ",\"structure_warning\":" + Bool(zip.ListResults().StructureWarning) + ",\n\"messages\":[";
  for (std::size_t i = 0; i < result.messages.size(); ++i) {
    if (i > 0) out += ",";
    out += "{\"id\":" + std::to_string(result.messages[i].id) +
           ",\"text\":" + JsonString(result.messages[i].text) + "}";
  }
  out += "]}\n";
  std::fputs(out.c_str(), stdout);
}
