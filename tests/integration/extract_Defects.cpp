// Each archive under tests/data/extract/ is named by its defect and mapped in one of two tables:
// - ExtractDefects: extracted by the component with the real library, as kvxtool does it
//   (unattended, over existing files, no CRC handler), it reports exactly the expected codes and
//   leaves exactly the expected tree;
// - ListingDefects: its directory could be read two ways; the component's List and the real
//   library on its own must see the same entries, or both refuse the archive.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "classlib/ScriptedBackend.h"
#include "kvx/KvxMessages.h"
#include "platform/Folders.h"
#include "tests/integration/kvx_Harness.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace fs = std::filesystem;

namespace {

using Tree = std::map<std::string, std::string>;

const std::string Page = "<html>the page as the archive has it</html>\n";
const std::string Mine = "the user's own file\n";

struct ExtractDefect {
  const char* label;
  const char* file;
  Tree before;                        // files in the target folder beforehand
  std::vector<std::int32_t> reports;  // codes of the messages and of the skips that carry one
  Tree after;                         // the target folder afterwards, every file
  const char* password = "";
};

std::ostream& operator<<(std::ostream& out, const ExtractDefect& d) {
  return out << d.label;
}

class ExtractDefects : public ::testing::TestWithParam<ExtractDefect> {};

TEST_P(ExtractDefects, ReportsAndLeavesTheExpectedTree) {
  const ExtractDefect& defect = GetParam();
  TScriptedBackend backend;
  TBackendScope backendScope(backend);
  const std::string savedDir = GetCurrentDir();
  TTempFolder folder;
  const std::string out = folder / "out";
  fs::create_directory(out);
  for (const auto& [name, data] : defect.before) WriteBytes(out + "/" + name, data);
  fs::copy_file(std::string(FOLIVO_TEST_DATA_DIR) + "/extract/" + defect.file, folder / defect.file);

  std::vector<std::int32_t> reports;
  {
    TZipComponent zip(nullptr);
    zip.SetUnattended(true);
    zip.SetDLLDirectory(FOLIVO_BIN_DIR);
    zip.SetExtrBaseDir(out);
    zip.SetExtrOptions({ExtrDirNames, ExtrOverWrite});
    zip.SetPassword(defect.password);
    zip.OnPasswordError = [](TZipComponent*, std::string&, const std::string&, std::uint32_t&) {};
    zip.OnMessage = [&](TZipComponent* sender, std::int32_t code, const std::string&) {
      reports.push_back(code != 0 ? code : sender->LastErrorCode());
    };
    zip.OnExtractSkipped = [&](TZipComponent*, const std::string&, UnZipSkipTypes, std::int32_t code) {
      if (code != 0) reports.push_back(code);
    };
    zip.SetZipFileName(folder / defect.file);
    zip.Extract();
  }
  SetCurrentDirectoryA(savedDir.c_str());
  EXPECT_EQ(reports, defect.reports);
  EXPECT_EQ(KvxTreeDiff(KvxTree(out), defect.after), "");
  EXPECT_TRUE(backend.shown.empty());
}

// Library codes: 4 CRC error, 12 more output than the limits allow.
constexpr std::int32_t Crc = 4, Limit = 12;

const ExtractDefect Defects[] = {
    // Data that failed its CRC never replaces a file, whatever the method...
    {"crc_stored_over_file",
     "crc-mismatch-stored.zip",
     {{"page.htm", Mine}},
     {Crc, Crc},
     {{"page.htm", Mine}}},
    {"crc_deflate_over_file",
     "crc-mismatch-deflate.zip",
     {{"page.htm", Mine}},
     {Crc, Crc},
     {{"page.htm", Mine}}},
    {"crc_bzip2_over_file", "crc-mismatch-bzip2.zip", {{"page.htm", Mine}}, {Crc, Crc}, {{"page.htm", Mine}}},
    {"crc_lzma_over_file", "crc-mismatch-lzma.zip", {{"page.htm", Mine}}, {Crc, Crc}, {{"page.htm", Mine}}},
    {"crc_xz_over_file", "crc-mismatch-xz.zip", {{"page.htm", Mine}}, {Crc, Crc}, {{"page.htm", Mine}}},
    {"crc_zstd_over_file", "crc-mismatch-zstd.zip", {{"page.htm", Mine}}, {Crc, Crc}, {{"page.htm", Mine}}},
    // ...and is kept, reported, where the name is free.
    {"crc_to_free_name", "crc-mismatch-deflate.zip", {}, {Crc}, {{"page.htm", Page}}},
    // A wrong password that passes the check byte (found by the generator) decrypts to garbage.
    {"wrong_password_over_file",
     "wrong-password-passing-check.zip",
     {{"secret.txt", Mine}},
     {Crc, Crc},
     {{"secret.txt", Mine}},
     "wrong-327"},
    {"right_password", "wrong-password-passing-check.zip", {}, {}, {{"secret.txt", Page}}, "right-password"},
    // Bounded work: an entry that expands too much is skipped, an archive that declares too much in
    // all is refused whole.
    {"entry_expands_too_much", "entry-expands-too-much.zip", {}, {Limit, Limit}, {{"index.htm", Page}}},
    {"entries_declare_too_much", "entries-declare-too-much.zip", {}, {Limit}, {}},
    {"size_of_2_64_minus_1", "size-of-2-64-minus-1.zip", {}, {Limit}, {}},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, ExtractDefects, ::testing::ValuesIn(Defects),
                         [](const ::testing::TestParamInfo<ExtractDefect>& info) {
                           return info.param.label;
                         });

struct ListingDefect {
  const char* file;
  std::vector<std::int32_t> listReports;       // ids List reports, in order
  std::vector<std::string> listed;             // names List keeps
  std::vector<std::int32_t> kvxMessages;       // codes of the library's messages, in order
  std::map<std::string, std::string> written;  // what the library leaves in the folder
};

std::ostream& operator<<(std::ostream& out, const ListingDefect& d) {
  return out << d.file;
}

std::string FixturePath(const std::string& file) {
  return std::string(FOLIVO_TEST_DATA_DIR) + "/extract/" + file;
}

// Runs List on archive; the names it keeps and the ids it reported.
std::vector<std::string> ListNames(const std::string& archive, std::vector<std::int32_t>& reports) {
  TScriptedBackend backend;
  TBackendScope backendScope(backend);
  TZipComponent zip(nullptr);
  zip.SetUnattended(true);
  zip.OnMessage = [&](TObject*, std::int32_t, const std::string&) { reports.push_back(zip.LastErrorCode()); };
  zip.SetZipFileName(archive);
  std::vector<std::string> names;
  for (const auto& entry : zip.ListResults().DirEntries) names.push_back(entry->FileName);
  if (zip.ZipFileName().empty()) names.clear();
  EXPECT_EQ(zip.Volume().VolumeHandle(), NoFileHandle);
  return names;
}

std::vector<std::int32_t> MessageCodes(const KvxHarness& kvx) {
  std::vector<std::int32_t> codes;
  for (const KvxCall& call : kvx.Of(kvxMessage)) codes.push_back(call.Code);
  return codes;
}

class ListingDefects : public ::testing::TestWithParam<ListingDefect> {};

TEST_P(ListingDefects, ListAndLibraryAgree) {
  const ListingDefect& defect = GetParam();
  TTempFolder folder;
  const std::string archive = folder / defect.file;
  fs::copy_file(FixturePath(defect.file), archive);
  std::vector<std::int32_t> reports;
  EXPECT_EQ(ListNames(archive, reports), defect.listed);
  EXPECT_EQ(reports, defect.listReports);

  const std::string out = folder / "out";
  fs::create_directory(out);
  KvxHarness kvx;
  ASSERT_NE(kvx.Exec, nullptr);
  kvx.Run(archive, out);
  EXPECT_EQ(MessageCodes(kvx), defect.kvxMessages);
  EXPECT_EQ(KvxTree(out), defect.written);
}

const std::string Readme = "read me\n";
const std::string Hello = "hello\n";

const ListingDefect ListingCases[] = {
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
    // A backslash separates folders whatever the host: a folder, its data never written.
    {"name-ends-in-backslash.zip", {}, {"readme.txt"}, {}, {{"readme.txt", Readme}, {"payload.sh", "<dir>"}}},
    {"backslash-folder-from-fat.zip", {}, {"readme.txt"}, {}, {{"readme.txt", Readme}, {"pages", "<dir>"}}},
    {"overlapping-entries.zip", {MessageId::NotAValidArchive}, {}, {kvxErrDirectory}, {}},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, ListingDefects, ::testing::ValuesIn(ListingCases),
                         [](const ::testing::TestParamInfo<ListingDefect>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(ExtractDefects, EveryFixtureIsUsed) {
  for (const auto& entry : fs::directory_iterator(std::string(FOLIVO_TEST_DATA_DIR) + "/extract")) {
    if (entry.path().extension() != ".zip") continue;
    const std::string name = entry.path().filename().string();
    const bool extracted = std::any_of(std::begin(Defects), std::end(Defects),
                                       [&](const ExtractDefect& d) { return name == d.file; });
    const bool listed = std::any_of(std::begin(ListingCases), std::end(ListingCases),
                                    [&](const ListingDefect& d) { return name == d.file; });
    EXPECT_TRUE(extracted || listed) << name;
  }
}

// The large defects are made at test time by the same script.
class LargeDefects : public ::testing::Test {
 protected:
  std::string Make(const std::string& name) {
    EXPECT_EQ(Shell("python3 " + Quoted(FixturePath("make-fixtures.py")) + " --large " +
                    Quoted(folder.Path()) + " " + name),
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
