// Salvage: what a cut archive still holds, written into a temporary archive that List, the unzip
// library and extraction read as they read any other.
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

  const SalvageWalk walk = WalkLocalEntries(input.Get(), size);
  if (walk.Entries.empty()) {
    FInOperation = false;
    ReportText(MessageId::NothingSalvaged,
               FormatZipText(LoadMessageText(MessageId::NothingSalvaged, ""), {size, walk.StopOffset}));
    return SalvageFailed;
  }

  std::string repaired = NewTempArchiveName("", "");
  TOwnedFile output(repaired.empty() ? NoFileHandle : FileCreateExclusive(repaired));
  if (!output.IsOpen()) return fail(MessageId::TempFileCreateFailed, "");
  if (!WriteRepairedArchive(input.Get(), walk, output.Get())) {
    output.Close();
    DeleteFileA(repaired.c_str());
    return fail(MessageId::OutputCreateFailed, ": " + repaired);
  }
  output.Close();
  OutName = repaired;
  FInOperation = false;
  ReportText(MessageId::SalvagedEntries,
             FormatZipText(LoadMessageText(MessageId::SalvagedEntries, ""),
                           {static_cast<std::int64_t>(walk.Entries.size()), size, walk.StopOffset}));
  return 0;
}
