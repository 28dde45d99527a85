#pragma once
// Test side of the unzip library's double: opens the same libkvx.so that the component loads
// (the handle keeps it, and its script and log, alive between extractions) and drives it.
#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "tests/fakekvx/FakeKvx.h"

class FakeKvxClient {
 public:
  // variant: "fakekvx", "fakekvx-noversion" or "fakekvx-noexec".
  explicit FakeKvxClient(const std::string& variant = "fakekvx")
      : Directory(std::string(FOLIVO_BIN_DIR) + "/../" + variant),
        FHandle(dlopen((Directory + "/libkvx.so").c_str(), RTLD_NOW)) {
    if (!FHandle) throw std::runtime_error("cannot open the library double in " + Directory);
    FReset = reinterpret_cast<FakeKvxResetFunction>(dlsym(FHandle, "FakeKvxReset"));
    FAddStep = reinterpret_cast<FakeKvxAddStepFunction>(dlsym(FHandle, "FakeKvxAddStep"));
    FLog = reinterpret_cast<FakeKvxLogFunction>(dlsym(FHandle, "FakeKvxGetLog"));
    Reset(160);
  }
  ~FakeKvxClient() { dlclose(FHandle); }
  FakeKvxClient(const FakeKvxClient&) = delete;
  FakeKvxClient& operator=(const FakeKvxClient&) = delete;

  void Reset(std::int32_t version, std::int32_t extracted = 0) { FReset(version, extracted); }
  void Step(std::int32_t action, std::int32_t code = 0, std::int32_t number = 0,
            const std::string& text = "") {
    const FakeKvxStep step{action, code, number, text};
    FAddStep(&step);
  }
  const FakeKvxLog& Log() const { return *FLog(); }

  const std::string Directory;  // the folder to give as DLLDirectory

 private:
  void* FHandle;
  FakeKvxResetFunction FReset = nullptr;
  FakeKvxAddStepFunction FAddStep = nullptr;
  FakeKvxLogFunction FLog = nullptr;
};
