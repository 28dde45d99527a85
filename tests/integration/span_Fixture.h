#pragma once
// A component ready to join sets in a private folder, with what it reported recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ScriptedBackend.h"
#include "platform/Folders.h"
#include "tests/integration/span_Support.h"
#include "zip/ZipComp.h"
#include "zipformat/ZipRecords.h"

struct ProgressEvent {
  ProgressType kind;
  std::string name;
  std::int32_t size;
};

class SpanJoinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    zip.SetUnattended(true);
    zip.SetTempDir(dir / "temp");
    CreateDirectoryA(zip.TempDir().c_str(), nullptr);
    zip.OnMessage = [this](TObject* sender, std::int32_t, const std::string& text) {
      messages.push_back(text);
      ids.push_back(sender->LastErrorCode());
    };
    zip.OnProgress = [this](TObject*, ProgressType kind, const std::string& name, std::int32_t size) {
      progress.push_back({kind, name, size});
    };
  }
  void TearDown() override { SetBackend(nullptr); }

  // Joins into TempDir; the output's name comes back in out.
  std::int32_t Join(const std::string& archive) {
    out = zip.TempDir().empty() ? std::string() : TZipComponent::WithTrailingBackslash(zip.TempDir());
    return zip.ReadSpan(archive, out);
  }

  // Checks what every run leaves behind, whatever its result.
  void ExpectRunEnded() const {
    EXPECT_FALSE(zip.InOperation());
    EXPECT_EQ(zip.Volume().VolumeHandle(), NoFileHandle);
    EXPECT_EQ(zip.JoinedArchive().OutputHandle(), NoFileHandle);
    EXPECT_TRUE(zip.JoinedArchive().SpanTable().empty());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().kind, ptBatchEnd);
  }

  // A failed run reported id, deleted its output and left the temporary folder empty.
  void ExpectFailedWith(std::int32_t result, std::int32_t id) {
    EXPECT_EQ(result, -7);
    EXPECT_EQ(zip.LastErrorCode(), id);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Shell("test -z \"$(ls -A " + Quoted(zip.TempDir()) + ")\""), 0);
    ExpectRunEnded();
  }

  // The output is one single-volume archive: it starts with a local header and its end record
  // names volume 0 throughout and counts every entry on it.
  void ExpectSingleVolume(std::uint16_t entries) const {
    const std::string bytes = ReadBytes(out);
    ASSERT_GE(bytes.size(), 22u);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (entries > 0) {
      EXPECT_EQ(ByteReader(data, 4).U32(0), LocalRec::Signature);
    }
    const std::size_t at = bytes.rfind("PK\x05\x06");
    ASSERT_NE(at, std::string::npos);
    const ByteReader end(data + at, EndRec::Size);
    EXPECT_EQ(end.U16(EndRec::ThisVolume), 0);
    EXPECT_EQ(end.U16(EndRec::CentralVolume), 0);
    EXPECT_EQ(end.U16(EndRec::EntriesThisVolume), entries);
    EXPECT_EQ(end.U16(EndRec::TotalEntries), entries);
    EXPECT_EQ(end.U32(EndRec::CentralOffset) + end.U32(EndRec::CentralSize), at);
  }

  TTempFolder dir;
  TScriptedBackend backend;
  TZipComponent zip{nullptr};
  std::string out;
  std::vector<std::string> messages;
  std::vector<std::int32_t> ids;
  std::vector<ProgressEvent> progress;
};
