#pragma once
// Signatures, sizes and field offsets of the zip records the component reads.
#include <cstddef>
#include <cstdint>

// End of central directory record; the archive comment follows it.
namespace EndRec {
constexpr std::uint32_t Signature = 0x06054B50;
constexpr std::size_t Size = 22;
constexpr std::size_t Sig = 0;
constexpr std::size_t ThisVolume = 4;
constexpr std::size_t CentralVolume = 6;  // volume on which the central directory starts
constexpr std::size_t EntriesThisVolume = 8;
constexpr std::size_t TotalEntries = 10;
constexpr std::size_t CentralSize = 12;
constexpr std::size_t CentralOffset = 16;  // relative to the start of its volume
constexpr std::size_t CommentLength = 20;
}  // namespace EndRec

// Central directory file header; name, extra field and comment follow it.
namespace CentralRec {
constexpr std::uint32_t Signature = 0x02014B50;
constexpr std::size_t Size = 46;
constexpr std::size_t Sig = 0;
constexpr std::size_t MadeByVersion = 4;
constexpr std::size_t MadeByHost = 5;
constexpr std::size_t VersionNeeded = 6;
constexpr std::size_t Flags = 8;
constexpr std::size_t Method = 10;
constexpr std::size_t Time = 12;
constexpr std::size_t Date = 14;
constexpr std::size_t Crc32 = 16;
constexpr std::size_t CompressedSize = 20;
constexpr std::size_t UncompressedSize = 24;
constexpr std::size_t NameLength = 28;
constexpr std::size_t ExtraLength = 30;
constexpr std::size_t CommentLength = 32;
constexpr std::size_t DiskStart = 34;
constexpr std::size_t InternalAttributes = 36;
constexpr std::size_t ExternalAttributes = 38;
constexpr std::size_t LocalOffset = 42;
}  // namespace CentralRec

// Local file header; name and extra field follow it, then the data.
namespace LocalRec {
constexpr std::uint32_t Signature = 0x04034B50;
constexpr std::size_t Size = 30;
constexpr std::size_t Sig = 0;
constexpr std::size_t VersionNeeded = 4;
constexpr std::size_t Flags = 6;
constexpr std::size_t Method = 8;
constexpr std::size_t Time = 10;
constexpr std::size_t Date = 12;
constexpr std::size_t Crc32 = 14;
constexpr std::size_t CompressedSize = 18;
constexpr std::size_t UncompressedSize = 22;
constexpr std::size_t NameLength = 26;
constexpr std::size_t ExtraLength = 28;
}  // namespace LocalRec

// Data descriptor with its optional signature; the same four bytes open the first volume of a
// spanned set, followed by a local header signature.
namespace DescriptorRec {
constexpr std::uint32_t Signature = 0x08074B50;
constexpr std::size_t Size = 16;  // with the signature
constexpr std::size_t Sig = 0;
constexpr std::size_t Crc32 = 4;
constexpr std::size_t CompressedSize = 8;
constexpr std::size_t UncompressedSize = 12;
}  // namespace DescriptorRec

constexpr std::uint32_t SpanMarker = DescriptorRec::Signature;

// General purpose flag bits.
constexpr std::uint16_t FlagEncrypted = 0x0001;
constexpr std::uint16_t FlagDataDescriptor = 0x0008;
constexpr std::uint16_t FlagUtf8 = 0x0800;
