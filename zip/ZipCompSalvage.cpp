// Salvage: what a cut archive still holds, written into a temporary archive that List, the unzip
// library and extraction read as they read any other.
#include <algorithm>

#include "classlib/BusyCursor.h"
#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipText.h"
#include "zip/salvage/LocalWalk.h"
#include "zip/salvage/RepairedArchive.h"
#include "zip/volumes/OwnedFile.h"

namespace {

constexpr std::int32_t SalvageFailed = -7;

}  // namespace

std::int32_t TZipComponent::Salvage(const std::string& ArchiveName, std::string& OutName) {
  OutName.clear();
  if (FInOperation) return SalvageFailed;
  FInOperation = true;
  const TBusyCursor busy;
  const auto fail = [this](std::int32_t id, const std::string& text) {
    FInOperation = false;
    ReportMessage(id, text);
    return SalvageFailed;
  };

  const TOwnedFile input(FileOpenRead(ArchiveName));
  if (!input.IsOpen()) return fail(MessageId::ArchiveOpenFailed, "");
  const std::int64_t size = FileSeek(input.Get(), 0, 2);
  if (size < 0) return fail(MessageId::ArchiveOpenFailed, "");
  if (size > MaxArchiveSize) return fail(MessageId::ArchiveTooLarge, "");

  SalvageWalk walk = WalkLocalEntries(input.Get(), size);
  // Writes the repaired archive for the entries kept; the id of the failure, or 0.
  std::string repaired;
  const auto write = [&]() -> std::int32_t {
    repaired = NewTempArchiveName("", "");
    TOwnedFile output(repaired.empty() ? NoFileHandle : FileCreateExclusive(repaired));
    if (!output.IsOpen()) return MessageId::TempFileCreateFailed;
    const bool written = WriteRepairedArchive(input.Get(), walk, output.Get());
    output.Close();
    if (written) return 0;
    DeleteFileA(repaired.c_str());
    return MessageId::OutputCreateFailed;
  };
  std::int32_t failure = walk.Entries.empty() ? 0 : write();
  const bool unchecked = std::any_of(walk.Entries.begin(), walk.Entries.end(),
                                     [](const SalvagedEntry& e) { return !e.DataChecked; });
  if (failure == 0 && unchecked) {
    const std::size_t whole = FirstEntryFailingTest(repaired, walk.Entries.size());
    if (whole < walk.Entries.size()) {
      DeleteFileA(repaired.c_str());
      walk.StopOffset = walk.Entries[whole].LocalOffset;
      walk.Entries.resize(whole);
      if (!walk.Entries.empty()) failure = write();
    }
  }
  if (failure != 0) return fail(failure, failure == MessageId::OutputCreateFailed ? ": " + repaired : "");
  FInOperation = false;
  if (walk.Entries.empty()) {
    ReportText(MessageId::NothingSalvaged,
               FormatZipText(LoadMessageText(MessageId::NothingSalvaged, ""), {size, walk.StopOffset}));
    return SalvageFailed;
  }
  OutName = repaired;
  ReportText(MessageId::SalvagedEntries,
             FormatZipText(LoadMessageText(MessageId::SalvagedEntries, ""),
                           {static_cast<std::int64_t>(walk.Entries.size()), size, walk.StopOffset}));
  return 0;
}
