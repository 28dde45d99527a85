// A stand-in for the unzip library: reports a chosen version, keeps the command record it gets
// and calls the component back with a scripted list of actions.
#include "tests/fakekvx/FakeKvx.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#define FAKEKVX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::int32_t Version = 160;
std::int32_t Extracted = 0;
std::vector<FakeKvxStep> Script;
FakeKvxLog Log;

std::string Text(const char* text, bool& isNull) {
  isNull = text == nullptr;
  return text ? text : "";
}

bool AllZero(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

template <typename Record>
bool HeadReservedZero(const Record& r) {
  return r.Reserved20 == 0 && r.Reserved32 == 0 && r.Reserved36 == 0;
}

[[maybe_unused]] void CopyCommand(void* record) {
  FakeKvxCommand& c = Log.Command;
  c = FakeKvxCommand{};
  c.OldLayout = Version < 152;
  const char* archive = nullptr;
  if (c.OldLayout) {
    std::memcpy(&c.OldRecord, record, sizeof c.OldRecord);
    const UnzipCommandRecordOld& r = c.OldRecord;
    c.Password = Text(r.Password, c.PasswordNull);
    archive = r.ArchiveName;
    const int count = std::clamp(r.SpecCount, 0, int{kvxOldLayoutSpecSlots});
    for (int i = 0; i < count; ++i) c.Specs.push_back(r.SpecSlots[i] ? r.SpecSlots[i] : "");
    c.UnnamedBytesZero =
        HeadReservedZero(r) &&
        AllZero(r.SpecSlots + count, sizeof(r.SpecSlots[0]) * (kvxOldLayoutSpecSlots - count));
  } else {
    std::memcpy(&c.Record, record, sizeof c.Record);
    const UnzipCommandRecord& r = c.Record;
    c.Password = Text(r.Password, c.PasswordNull);
    archive = r.ArchiveName;
    bool zero = HeadReservedZero(r) && r.Reserved76 == 0 && r.MemoryBuffer == nullptr && r.MemorySize == 0 &&
                AllZero(r.Reserved92, sizeof r.Reserved92) && AllZero(r.Reserved108, sizeof r.Reserved108);
    for (int i = 0; i < r.SpecCount && r.Specs; ++i) {
      c.Specs.push_back(r.Specs[i].FileSpec ? r.Specs[i].FileSpec : "");
      zero = zero && AllZero(r.Specs[i].Reserved, sizeof r.Specs[i].Reserved);
    }
    c.UnnamedBytesZero = zero;
  }
  c.ArchiveName = Text(archive, c.ArchiveNameNull);
  struct stat st = {};
  c.ArchiveExisted = archive && stat(archive, &st) == 0;
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) c.CurrentDir = cwd;
}
}  // namespace

FAKEKVX_EXPORT void FakeKvxReset(std::int32_t version, std::int32_t extracted) {
  Version = version;
  Extracted = extracted;
  Script.clear();
  Log = FakeKvxLog{};
}

FAKEKVX_EXPORT void FakeKvxAddStep(const FakeKvxStep* step) {
  Script.push_back(*step);
}

FAKEKVX_EXPORT const FakeKvxLog* FakeKvxGetLog() {
  return &Log;
}

#ifndef FAKEKVX_NOVERSION
FAKEKVX_EXPORT std::int32_t GetKvxUnzipVersion() {
  ++Log.VersionCalls;
  return Version;
}
#endif

#ifndef FAKEKVX_NOEXEC
FAKEKVX_EXPORT std::int32_t KvxUnzipExec(void* command) {
  ++Log.ExecCalls;
  CopyCommand(command);
  const FakeKvxCommand& c = Log.Command;
  const UnzipCallbackFunction callback = c.OldLayout ? c.OldRecord.Callback : c.Record.Callback;
  void* caller = c.OldLayout ? c.OldRecord.Caller : c.Record.Caller;
  // Steps are copied first: a callback may run a nested extraction that resets the script.
  const std::vector<FakeKvxStep> steps = Script;
  for (const FakeKvxStep& step : steps) {
    UnzipCallbackRecord record{};
    record.LibraryHandle = 0x4b5658;
    record.Caller = caller;
    record.ActionCode = step.ActionCode;
    record.Code = step.Code;
    record.Number = step.Number;
    std::memcpy(record.Text, step.Text.data(), std::min(step.Text.size(), sizeof record.Text));
    const std::int32_t result = callback(&record);
    Log.Answers.push_back(FakeKvxAnswer{record, result});
    if (result == -1) break;
  }
  return Extracted;
}
#endif
