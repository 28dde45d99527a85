#pragma once
// Reading the volumes of a spanned set in order, for the join. Every helper raises
// EZipComponent with the message id it is given; none of them goes past the last volume.
#include <cstdint>

class TZipComponent;

// Size of the buffer that carries extra fields, data and comments from the input to the output.
constexpr std::uint32_t SpanTransferSize = 65536;

// Bytes read from the open volume into buffer, up to count; a failed read gives 0.
std::int64_t ReadInput(TZipComponent& zip, void* buffer, std::int64_t count);
// True when the open volume's position is its end; the position is kept.
bool AtInputEnd(TZipComponent& zip);
// Opens the volume after the current one; raises messageId when the current one is the last.
void NextVolume(TZipComponent& zip, std::int32_t messageId);
// Reads a fixed record whole. A short read at the end of a volume drops its bytes and reads the
// record again from the start of the next volume; anywhere else it raises messageId.
void ReadRecord(TZipComponent& zip, std::uint8_t* record, std::int64_t size, std::int32_t messageId);
// Passes over count bytes, continuing on the next volume when one ends; seek failures raise
// messageId.
void SkipInput(TZipComponent& zip, std::uint32_t count, std::int32_t messageId);
