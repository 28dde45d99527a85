// Each archive under tests/data/extract/ is named by its defect. Extracted by the component with
// the real library, as kvxtool does it (unattended, over existing files, no CRC handler), it
// reports exactly the expected codes and leaves exactly the expected tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "classlib/ScriptedBackend.h"
#include "platform/Folders.h"
#include "tests/integration/kvx_Harness.h"
#include "zip/ZipComp.h"

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
  SetBackend(&backend);
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
      reports.push_back(code != 0 ? code : sender->LastErrorCode);
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
  SetBackend(nullptr);
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

TEST(ExtractDefects, EveryFixtureIsUsed) {
  for (const auto& entry : fs::directory_iterator(std::string(FOLIVO_TEST_DATA_DIR) + "/extract")) {
    if (entry.path().extension() != ".zip") continue;
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(std::any_of(std::begin(Defects), std::end(Defects), [&](const ExtractDefect& d) {
      return name == d.file;
    })) << name;
  }
}

}  // namespace
