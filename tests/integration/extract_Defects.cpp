// Each fixture under tests/data/extract/ is named by its defect. It goes through the component's
// List and through the real unzip library: both must see the same entries, or refuse the archive.
#include <gtest/gtest.h>

#include <filesystem>

#include "classlib/ScriptedBackend.h"
#include "kvx/KvxMessages.h"
#include "tests/integration/kvx_Harness.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

struct Defect {
  const char* file;
  std::vector<std::int32_t> listReports;       // ids List reports, in order
  std::vector<std::string> listed;             // names List keeps
  std::vector<std::int32_t> kvxMessages;       // codes of the library's messages, in order
  std::map<std::string, std::string> written;  // what the library leaves in the folder
};

std::ostream& operator<<(std::ostream& out, const Defect& d) {
  return out << d.file;
}

std::string FixturePath(const std::string& file) {
  return std::string(FOLIVO_TEST_DATA_DIR) + "/extract/" + file;
}

// Runs List on archive; the names it keeps and the ids it reported.
std::vector<std::string> ListNames(const std::string& archive, std::vector<std::int32_t>& reports) {
  TScriptedBackend backend;
  SetBackend(&backend);
  TZipComponent zip(nullptr);
  zip.SetUnattended(true);
  zip.OnMessage = [&](TObject*, std::int32_t, const std::string&) { reports.push_back(zip.LastErrorCode); };
  zip.SetZipFileName(archive);
  std::vector<std::string> names;
  for (const auto& entry : zip.DirEntries) names.push_back(entry->FileName);
  if (zip.ZipFileName().empty()) names.clear();
  EXPECT_EQ(zip.VolumeHandle, NoFileHandle);
  SetBackend(nullptr);
  return names;
}

std::vector<std::int32_t> MessageCodes(const KvxHarness& kvx) {
  std::vector<std::int32_t> codes;
  for (const KvxCall& call : kvx.Of(kvxMessage)) codes.push_back(call.Code);
  return codes;
}

class ExtractDefects : public ::testing::TestWithParam<Defect> {};

TEST_P(ExtractDefects, ListAndLibraryAgree) {
  const Defect& defect = GetParam();
  TTempFolder folder;
  const std::string archive = folder / defect.file;
  std::filesystem::copy_file(FixturePath(defect.file), archive);
  std::vector<std::int32_t> reports;
  EXPECT_EQ(ListNames(archive, reports), defect.listed);
  EXPECT_EQ(reports, defect.listReports);

  const std::string out = folder / "out";
  std::filesystem::create_directory(out);
  KvxHarness kvx;
  ASSERT_NE(kvx.Exec, nullptr);
  kvx.Run(archive, out);
  EXPECT_EQ(MessageCodes(kvx), defect.kvxMessages);
  EXPECT_EQ(KvxTree(out), defect.written);
}

const std::string Readme = "read me\n";
const std::string Hello = "hello\n";

const Defect Defects[] = {
    {"count-smaller-than-directory.zip", {MessageId::CentralHeaderReadFailed}, {}, {kvxErrDirectory}, {}},
    {"zip64-end-shadows-end.zip", {MessageId::EndRecordReadFailed}, {}, {kvxErrDirectory}, {}},
    {"two-end-records.zip", {}, {"readme.txt"}, {}, {{"readme.txt", Readme}}},
    {"unicode-path-names-other-file.zip",
     {},
     {"readme.txt", ".bashrc"},
     {},
     {{"readme.txt", Readme}, {".bashrc", Hello}}},
    {"unicode-path-after-many-fields.zip",
     {},
     {"readme.txt", "notes.txt"},
     {},
     {{"readme.txt", Readme}, {"notes.txt", Hello}}},
    {"name-ends-in-colon.zip", {}, {"readme.txt"}, {kvxErrName}, {{"readme.txt", Readme}}},
    {"name-ends-in-backslash.zip", {}, {"readme.txt"}, {kvxErrName}, {{"readme.txt", Readme}}},
    {"backslash-folder-from-fat.zip", {}, {"readme.txt"}, {}, {{"readme.txt", Readme}, {"pages", "<dir>"}}},
    {"overlapping-entries.zip", {MessageId::NotAValidArchive}, {}, {kvxErrDirectory}, {}},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, ExtractDefects, ::testing::ValuesIn(Defects),
                         [](const ::testing::TestParamInfo<Defect>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(ExtractDefects, EveryFixtureIsMapped) {
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(FOLIVO_TEST_DATA_DIR) + "/extract"))
    files += entry.path().extension() == ".zip";
  EXPECT_EQ(files, static_cast<int>(std::size(Defects)));
}

// The large defects are made at test time by the same script.
class LargeDefects : public ::testing::Test {
 protected:
  std::string Make(const std::string& name) {
    EXPECT_EQ(KvxShell("python3 " + KvxQuoted(FixturePath("make-fixtures.py")) + " --large " +
                       KvxQuoted(folder.Path()) + " " + name),
              0);
    return folder / name;
  }
  TTempFolder folder;
};

TEST_F(LargeDefects, MillionEntriesWithAWrappedCountListAndExtractAlike) {
  const std::string archive = Make("million-entries-count-wrapped.zip");
  std::vector<std::int32_t> reports;
  EXPECT_EQ(ListNames(archive, reports).size(), 1000000u);
  EXPECT_TRUE(reports.empty());
  KvxHarness kvx;
  // Stops at the count of entries to extract, before anything is written.
  kvx.Answer = [](UnzipCallbackRecord& r) { return r.ActionCode == kvxFileCount ? -1 : 0; };
  kvx.Run(archive, folder.Path());
  ASSERT_EQ(kvx.Of(kvxFileCount).size(), 1u);
  EXPECT_EQ(kvx.Of(kvxFileCount)[0].Number, 1000000);
}

TEST_F(LargeDefects, ArchiveBeyondTwoGigabytesIsRefusedAsTooLarge) {
  std::vector<std::int32_t> reports;
  EXPECT_TRUE(ListNames(Make("larger-than-readable.zip"), reports).empty());
  EXPECT_EQ(reports, std::vector<std::int32_t>{MessageId::ArchiveTooLarge});
}

}  // namespace
