// Each fixture under tests/data/list/ is named by its defect; List reports exactly the expected
// messages, keeps or drops the directory as expected, and leaves no file open.
#include <gtest/gtest.h>

#include <filesystem>

#include "classlib/ScriptedBackend.h"
#include "tests/support/ZipWriter.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

struct Defect {
  const char* file;
  std::vector<std::int32_t> reports;
  std::int32_t entries;  // EntryCount afterwards; 0 as well after a failure
};

std::ostream& operator<<(std::ostream& out, const Defect& d) {
  return out << d.file;
}

class ListDefects : public ::testing::TestWithParam<Defect> {};

TEST_P(ListDefects, ReportsAsExpected) {
  const Defect& defect = GetParam();
  TScriptedBackend backend;
  TBackendScope backendScope(backend);
  TTempFolder folder;
  const std::string path = folder / defect.file;
  std::filesystem::copy_file(std::string(FOLIVO_TEST_DATA_DIR) + "/list/" + defect.file, path);

  TZipComponent zip(nullptr);
  zip.SetUnattended(true);
  std::vector<std::int32_t> reports;
  zip.OnMessage = [&](TObject*, std::int32_t, const std::string&) { reports.push_back(zip.LastErrorCode()); };
  zip.SetZipFileName(path);
  EXPECT_EQ(reports, defect.reports);
  EXPECT_EQ(zip.EntryCount(), defect.entries);
  EXPECT_EQ(zip.Volume().VolumeHandle(), NoFileHandle);
  EXPECT_TRUE(backend.shown.empty());
}

const Defect Defects[] = {
    {"empty-archive.zip", {}, 0},
    {"no-end-record.zip", {MessageId::NotAValidArchive}, 0},
    {"short-file.zip", {MessageId::NotAValidArchive}, 0},
    {"truncated-end-record.zip", {MessageId::NotAValidArchive}, 0},
    {"cut-central-header.zip", {MessageId::CentralHeaderReadFailed}, 0},
    {"entry-count-too-large.zip", {MessageId::CentralHeaderReadFailed}, 0},
    {"bad-central-signature.zip", {MessageId::CentralHeaderBadSignature}, 0},
    {"cut-central-name.zip", {MessageId::CentralNameReadFailed}, 0},
    {"cut-extra-field.zip", {MessageId::ListSeekFailed}, 0},
    {"cut-file-comment.zip", {MessageId::EntryCommentReadFailed}, 0},
    {"garbage-after-end.zip", {MessageId::GarbageAtEnd}, 2},
    {"comment-past-end.zip", {MessageId::GarbageAtEnd}, 2},
    {"unadjusted-stub.zip", {MessageId::StructureWarning}, 2},
    {"central-size-too-large.zip", {MessageId::StructureWarning, MessageId::ListSeekFailed}, 0},
    {"zip64-sizes-in-end-record.zip", {MessageId::StructureWarning, MessageId::ListSeekFailed}, 0},
    {"first-file-of-set.zip", {MessageId::FirstFileOfSet}, 0},
    {"central-on-missing-volume.zip", {MessageId::InputFileMissing}, 0},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, ListDefects, ::testing::ValuesIn(Defects),
                         [](const ::testing::TestParamInfo<Defect>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(ListDefects, EveryFixtureIsMapped) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(FOLIVO_TEST_DATA_DIR) + "/list"))
    files += entry.path().extension() == ".zip";
  EXPECT_EQ(files, static_cast<int>(std::size(Defects)));
}

}  // namespace
