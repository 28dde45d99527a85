#pragma once
// Shared set-up of the extraction tests: a component aimed at the library double, a scripted
// backend, a private target folder, and the messages the component reported.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "classlib/ScriptedBackend.h"
#include "platform/Folders.h"
#include "tests/fakekvx/FakeKvxClient.h"
#include "tests/support/TempFiles.h"
#include "zip/ZipComp.h"
#include "zip/library/UnzipLibrary.h"

struct ReportedMessage {
  std::int32_t LastErrorCode, ErrCode;
  std::string Text;
};

class ExtractFixture : public ::testing::Test {
 protected:
  explicit ExtractFixture(const std::string& variant = "fakekvx") : fake(variant) {}

  void SetUp() override {
    SetBackend(&backend);
    savedDir = GetCurrentDir();
    base = temp.Path();
    zip = std::make_unique<TZipComponent>(nullptr);
    zip->SetDLLDirectory(fake.Directory);
    zip->SetZipFileName(std::string(FOLIVO_TEST_DATA_DIR) + "/list/empty-archive.zip");
    zip->SetExtrBaseDir(base);
    zip->SetExtrOptions({ExtrDirNames, ExtrOverWrite});
    zip->OnMessage = [this](TZipComponent* sender, std::int32_t code, const std::string& text) {
      messages.push_back({sender->LastErrorCode(), code, text});
    };
    messages.clear();
  }

  void TearDown() override {
    zip.reset();
    SetCurrentDirectoryA(savedDir.c_str());
    SetBackend(nullptr);
  }

  // Ids of the messages the component reported itself (ErrCode 0).
  std::vector<std::int32_t> ReportedIds() const {
    std::vector<std::int32_t> ids;
    for (const ReportedMessage& m : messages)
      if (m.ErrCode == 0) ids.push_back(m.LastErrorCode);
    return ids;
  }
  const FakeKvxCommand& Command() const { return fake.Log().Command; }
  const UnzipCallbackRecord& Answer(std::size_t i) const { return fake.Log().Answers.at(i).Record; }

  FakeKvxClient fake;
  TScriptedBackend backend;
  TTempFolder temp;
  std::unique_ptr<TZipComponent> zip;
  std::string savedDir, base;
  std::vector<ReportedMessage> messages;
};
