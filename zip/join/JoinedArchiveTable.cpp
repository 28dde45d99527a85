// The table of central directory entries that pairs each local header with its central header,
// indexed by name so that a set of many entries pairs in linear time.
#include "zip/ZipException.h"
#include "zip/ZipMsg.h"
#include "zip/join/JoinedArchive.h"

namespace {

std::string AsciiLowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

std::string NameFromBuffer(const char* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return std::string();
  return std::string(buffer, static_cast<std::size_t>(count));
}

void TJoinedArchive::BuildSpanTable() {
  FreeSpanTable();
}

void TJoinedArchive::FreeSpanTable() {
  FSpanTable = {};
  FByName = {};
  FByFoldedName = {};
}

void TJoinedArchive::AddSpanEntry(const std::string& name, std::uint32_t compressedSize) {
  const std::size_t i = FSpanTable.size();
  SpanEntry& entry = FSpanTable.emplace_back();
  entry.Name = name;
  entry.CompressedSize = compressedSize;
  FByName[name].records.push_back(i);
  FByFoldedName[AsciiLowerCase(name)].records.push_back(i);
}

bool TJoinedArchive::FirstUnpaired(NameQueue& queue, std::size_t& index) const {
  while (queue.next < queue.records.size() && FSpanTable[queue.records[queue.next]].Paired) ++queue.next;
  if (queue.next == queue.records.size()) return false;
  index = queue.records[queue.next];
  return true;
}

std::size_t TJoinedArchive::FindSpanEntry(const std::string& name) {
  std::size_t index = 0;
  const auto exact = FByName.find(name);
  bool found = exact != FByName.end() && FirstUnpaired(exact->second, index);
  if (!found) {
    const auto folded = FByFoldedName.find(AsciiLowerCase(name));
    found = folded != FByFoldedName.end() && FirstUnpaired(folded->second, index);
  }
  if (!found) throw EZipComponent(MessageId::LocalHeaderNotInTable, true);
  FSpanTable[index].Paired = true;
  return index;
}
