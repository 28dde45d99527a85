// The plain form of `kvxtool list`: the archive comment, one line per entry, and a last line with
// the totals.
#include <cstdio>

#include "tools/ListOutput.h"
#include "tools/SafeText.h"
#include "zip/ZipComp.h"
#include "zip/records/EntryEncryption.h"

namespace {

std::string MethodName(std::uint16_t method) {
  switch (method) {
    case 0:
      return "stored";
    case 8:
      return "deflate";
    case 9:
      return "deflate64";
    case 12:
      return "bzip2";
    case 14:
      return "lzma";
    case 93:
      return "zstd";
    case 95:
      return "xz";
    case 98:
      return "ppmd";
    case 99:
      return "aes";
    default:
      return std::to_string(method);
  }
}

// The note behind an encrypted entry's name: which encryption, and its key size for AES.
std::string EncryptionNote(const EntryEncryption& encryption) {
  switch (encryption.Kind) {
    case EntryEncryptionKind::None:
      return "";
    case EntryEncryptionKind::Aes:
      return encryption.KeyBits ? "  (encrypted, AES-" + std::to_string(encryption.KeyBits) + ")"
                                : "  (encrypted, AES)";
    case EntryEncryptionKind::Strong:
      return "  (encrypted, strong encryption)";
    default:
      return "  (encrypted)";
  }
}

std::string DosDateTime(std::uint32_t value) {
  const unsigned date = value >> 16, time = value & 0xFFFF;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", 1980 + (date >> 9), (date >> 5) & 0x0F,
                date & 0x1F, time >> 11, (time >> 5) & 0x3F);
  return text;
}

}  // namespace

void PrintListTable(const TZipComponent& zip, const ListResult& result) {
  // An archive that was not read has no directory to sum up: its report says why.
  if (zip.ZipFileName().empty()) return;
  if (!zip.ListResults().ArchiveComment.empty())
    std::printf("Comment: %s\n", TerminalText(zip.ListResults().ArchiveComment).c_str());
  const std::int32_t count = zip.EntryCount();
  if (count > 0)
    std::printf("%5s  %-9s %12s %12s  %-8s  %-16s  %s\n", "Seq", "Method", "Compressed", "Size", "CRC-32",
                "Modified", "Name");
  unsigned long long compressed = 0, size = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const ZipDirEntry& e = *zip.ListResults().DirEntries[static_cast<std::size_t>(i)];
    const std::size_t at = static_cast<std::size_t>(i);
    const int seq = at < result.seqNos.size() ? result.seqNos[at] : i + 1;
    const EntryEncryption encryption = DescribeEncryption(e);
    std::printf(
        "%5d  %-9s %12llu %12llu  %08x  %-16s  %s%s\n", seq, MethodName(encryption.DataMethod).c_str(),
        static_cast<unsigned long long>(e.CompressedSize64),
        static_cast<unsigned long long>(e.UncompressedSize64), e.Crc32, DosDateTime(e.FileDateTime).c_str(),
        TerminalText(ShownName(e.FileName)).c_str(), EncryptionNote(encryption).c_str());
    compressed += e.CompressedSize64;
    size += e.UncompressedSize64;
  }
  if (count > 0)
    std::printf("%5s  %-9s %12s %12s  %-8s  %-16s  %s\n%5s  %-9s %12llu %12llu  %-8s  %-16s  ", "", "",
                "----------", "----------", "", "", "-------", "", "", compressed, size, "", "");
  std::printf("%d %s", count, count == 1 ? "entry" : "entries");
  if (zip.ListResults().SkippedDirCount > 0)
    std::printf(", %d %s skipped", zip.ListResults().SkippedDirCount,
                zip.ListResults().SkippedDirCount == 1 ? "directory" : "directories");
  if (zip.ListResults().MultiVolume) {
    const std::int32_t volumes = zip.Volume().LastVolume() + 1;
    std::printf(", spanned over %d %s", volumes, volumes == 1 ? "volume" : "volumes");
  }
  std::printf("\n");
}
