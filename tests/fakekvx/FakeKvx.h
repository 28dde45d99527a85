#pragma once
// The test double of the unzip library: what a test scripts and reads back. A test reaches these
// functions with dlsym on the same libkvx.so that the component loads (see FakeKvxClient.h).
#include <cstdint>
#include <string>
#include <vector>

#include "zipformat/KvxLib.h"

// One callback the double makes; Text is copied raw (NULs included, at most 512 bytes).
struct FakeKvxStep {
  std::int32_t ActionCode = 0, Code = 0, Number = 0;
  std::string Text;
};

// One callback as it came back from the component.
struct FakeKvxAnswer {
  UnzipCallbackRecord Record;
  std::int32_t Result;
};

// A copy of the command record the double received, with the texts it pointed to.
struct FakeKvxCommand {
  bool OldLayout = false;
  UnzipCommandRecord Record{};        // the newer layout, when that was read
  UnzipCommandRecordOld OldRecord{};  // the older layout, when that was read
  std::string Password, ArchiveName;
  bool PasswordNull = true, ArchiveNameNull = true;
  std::vector<std::string> Specs;
  bool UnnamedBytesZero = false;  // every field the record does not name is 0
  std::string CurrentDir;         // the process's current folder during the call
  bool ArchiveExisted = false;    // the archive file existed during the call
};

struct FakeKvxLog {
  int ExecCalls = 0, VersionCalls = 0;
  FakeKvxCommand Command;
  std::vector<FakeKvxAnswer> Answers;
};

extern "C" {
// Forgets the log and the script; the double then reports version and returns extracted.
using FakeKvxResetFunction = void (*)(std::int32_t version, std::int32_t extracted);
using FakeKvxAddStepFunction = void (*)(const FakeKvxStep* step);
using FakeKvxLogFunction = const FakeKvxLog* (*)();
}
