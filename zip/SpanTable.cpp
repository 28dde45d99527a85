// The table of central directory entries that pairs each local header with its central header.
#include <algorithm>

#include "zip/SpanEntry.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace

std::string TZipComponent::NameFromBuffer(const char* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return std::string();
  return std::string(buffer, static_cast<std::size_t>(count));
}

void TZipComponent::BuildSpanTable(std::int32_t count) {
  FreeSpanTable();
  const std::size_t size = count > 0 ? static_cast<std::size_t>(count) : 0;
  SpanTable.reserve(size);
  for (std::size_t i = 0; i < size; ++i) SpanTable.push_back(std::make_unique<SpanEntry>());
}

void TZipComponent::FreeSpanTable() {
  while (!SpanTable.empty()) SpanTable.pop_back();
  SpanTable.shrink_to_fit();
  SpanSearchStart = 0;
}

// The first record not yet paired whose name equals Name exactly, else the first one not yet
// paired whose name differs only in ASCII letter case; raises 11026 when there is none. Records are
// paired by the caller, so two local headers never share one record.
std::int32_t TZipComponent::FindSpanEntry(std::int32_t count, const std::string& name) {
  const std::size_t size =
      std::min(SpanTable.size(), count > 0 ? static_cast<std::size_t>(count) : std::size_t{0});
  while (SpanSearchStart < size && SpanTable[SpanSearchStart]->Paired) ++SpanSearchStart;
  for (std::size_t i = SpanSearchStart; i < size; ++i)
    if (!SpanTable[i]->Paired && SpanTable[i]->Name == name) return static_cast<std::int32_t>(i);
  for (std::size_t i = SpanSearchStart; i < size; ++i)
    if (!SpanTable[i]->Paired && SameTextAscii(SpanTable[i]->Name, name)) return static_cast<std::int32_t>(i);
  throw EZipComponent(MessageId::LocalHeaderNotInTable, true);
}
