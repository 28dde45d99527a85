// List: reads the archive's central directory into DirEntries.
#include <limits>
#include <new>

#include "classlib/Application.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "platform/Folders.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipRecords.h"

namespace {

// Restores the cursor and closes the volume file however List ends.
class ListScope {
 public:
  explicit ListScope(TZipComponent& zip) : FZip(zip) { SetScreenCursor(crHourGlass); }
  ~ListScope() {
    SetScreenCursor(crDefault);
    FZip.Volume().CloseVolume();
  }
  ListScope(const ListScope&) = delete;
  ListScope& operator=(const ListScope&) = delete;

 private:
  TZipComponent& FZip;
};

std::int32_t ClampToInt32(std::int64_t value) {
  constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < low ? low : value > high ? high : value);
}

}  // namespace

void TZipComponent::List() {
  if (Designing) return;
  // Results of an earlier archive must not survive into this one.
  ClearDirEntries();
  FList = TListResults{};
  FVolume.CloseVolume();
  FVolume.SetLastVolume(0);
  std::int64_t cd = 0;
  bool error = false;
  std::uint8_t record[EndRec::Size] = {};

  if (!FileExists(ZipFileName())) {
    if (OnDirUpdate) OnDirUpdate(this);
    return;
  }
  {
    ListScope scope(*this);
    try {
      FVolume.StartAt(ZipFileName());
      if (!FVolume.ProbeDrive()) throw EZipComponent(MessageId::DriveNotDefined, FVolume.DriveRoot());
      LocateEndRecord(record, true);
      FVolume.SetLastVolume(ByteReader(record, EndRec::Size).U16(EndRec::ThisVolume));
      if (FVolume.LastVolume() > 0) FList.MultiVolume = true;
      ReadCentralDirectory(record, cd);
      FVolume.SetLastVolume(ByteReader(record, EndRec::Size).U16(EndRec::ThisVolume));
    } catch (const EZipComponent& e) {
      error = true;
      ReportZipError(e);
    } catch (const std::bad_alloc&) {
      error = true;
      ReportMessage(MessageId::OutOfMemory, "");
    } catch (const std::exception& e) {
      error = true;
      ReportMessage(MessageId::ListUnknownError, e.what());
    } catch (...) {
      error = true;
      ReportMessage(MessageId::ListUnknownError, "");
    }
  }
  if (error) {
    FZipFileName.clear();
    FList.FirstEntryOffset = 0;
  } else {
    const std::int64_t recordOffset = ByteReader(record, EndRec::Size).U32(EndRec::CentralOffset);
    FList.FirstEntryOffset = ClampToInt32(FList.FirstEntryOffset + cd - recordOffset);
  }
  if (OnDirUpdate) OnDirUpdate(this);
}

std::string TZipComponent::ConvertOemName(const std::string& name) const {
  const bool convert = (CodePage() == cpAuto && FList.LastHostSystem == 0) || FList.LastHostSystem == 6 ||
                       (FList.LastHostSystem == 11 && FList.LastMadeByVersion == 50) || CodePage() == cpOEM;
  if (!convert) return name;
  std::string result;
  result.reserve(name.size());
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 128)
      result += c;
    else
      result += OemCharToAnsi(byte);
  }
  return result;
}

void TZipComponent::ClearDirEntries() {
  while (!FList.DirEntries.empty()) FList.DirEntries.pop_back();
}
