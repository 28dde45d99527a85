// The unzip library's test of a salvaged archive: the data that the salvage walk cannot check
// itself (methods other than stored and deflated) is decoded by the library, within its bounds,
// and the first entry whose data fails ends what is kept.
#include <vector>

#include "zip/ZipComp.h"
#include "zip/library/UnzipLibrary.h"
#include "zipformat/KvxLib.h"

namespace {

// What the test found, entry by entry in directory order.
struct SalvageTest {
  std::vector<bool> Failed;  // one per entry started
  bool Reported = false;     // a report came for the current entry
  bool Uncheckable = false;  // it was skipped for want of a password or a decoder
};

void EndEntry(SalvageTest& test) {
  if (!test.Failed.empty()) test.Failed.back() = test.Reported && !test.Uncheckable;
  test.Reported = test.Uncheckable = false;
}

std::int32_t NoteTestCall(UnzipCallbackRecord* record) {
  auto& test = *static_cast<SalvageTest*>(record->Caller);
  const std::int32_t reason = record->Number & 0xFF;
  switch (record->ActionCode) {
    case kvxFileStart:
      EndEntry(test);
      test.Failed.push_back(false);
      break;
    case kvxMessage:
      test.Reported = true;
      break;
    case kvxSkipped:
      test.Reported = true;
      test.Uncheckable = test.Uncheckable || reason == kvxSkipBadPassword ||
                         reason == kvxSkipNoEncryptionSupport || reason == kvxSkipCompressionUnknown ||
                         reason == kvxSkipBadName || reason == kvxSkipLink;
      break;
    case kvxPassword:
      record->Text[0] = '\0';
      record->Number = 0;
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace

std::size_t TZipComponent::FirstEntryFailingTest(const std::string& archive, std::size_t entries) {
  const bool loadedHere = !FLibrary.Handle();
  if (loadedHere) FLibrary.Load();
  const KvxUnzipExecFunction exec = FLibrary.ExecEntry();
  SalvageTest test;
  if (exec && FLibrary.Version() >= UnzipPasswordCountVersion) {
    UnzipCommandRecord command{};
    command.Caller = &test;
    command.Version = kvxLibraryVersion;
    command.Callback = &NoteTestCall;
    command.TestFlag = -1;
    command.Reserved40 = -1;
    command.DirNamesFlag = -1;
    command.Password = "";
    command.ArchiveName = archive.c_str();
    command.LayoutMarker = kvxLayoutMarker;
    exec(&command);
    EndEntry(test);
  }
  if (loadedHere) FLibrary.Unload();
  for (std::size_t i = 0; i < test.Failed.size() && i < entries; ++i)
    if (test.Failed[i]) return i;
  return entries;
}
