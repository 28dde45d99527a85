// Extract with the real unzip library: whole archives, file specs, the password dialog and
// spanned sets joined on the way.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "classlib/ScriptedBackend.h"
#include "platform/Folders.h"
#include "tests/support/TempFiles.h"
#include "tests/support/ZipComponentTestPeer.h"
#include "zip/ZipComp.h"
#include "zip/library/UnzipLibrary.h"

namespace fs = std::filesystem;

namespace {
class RealLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    savedDir = GetCurrentDir();
    work = temp.Path();
    fs::create_directories(work / "tree/pages");
    fs::create_directories(work / "out");
    std::ofstream(work / "tree/index.htm") << "<html>index</html>\n";
    std::ofstream(work / "tree/pages/one.htm") << "one\n";
    std::string big;
    for (int i = 0; i < 40000; ++i) big += std::to_string(i * 7919 % 10007) + (i % 13 ? " " : "\n");
    std::ofstream(work / "tree/pages/big.txt") << big;
    zip = std::make_unique<TZipComponent>(nullptr);
    zip->SetDLLDirectory(FOLIVO_BIN_DIR);
    zip->SetExtrBaseDir((work / "out").string());
    zip->SetExtrOptions({ExtrDirNames, ExtrOverWrite});
    zip->OnMessage = [this](TZipComponent*, std::int32_t code, const std::string& text) {
      messages.push_back(std::to_string(code) + " " + text);
    };
  }
  void TearDown() override {
    zip.reset();
    SetCurrentDirectoryA(savedDir.c_str());
    SetBackend(nullptr);
  }
  // Runs a zip command line in the tree folder.
  void MakeArchive(const std::string& zipArguments) {
    const std::string command = "cd '" + (work / "tree").string() + "' && zip -q " + zipArguments;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  void ExpectExtracted(const std::string& name) {
    EXPECT_EQ(ReadBytes(work / "out" / name), ReadBytes(work / "tree" / name)) << name;
  }

  TScriptedBackend backend;
  std::unique_ptr<TZipComponent> zip;
  TTempFolder temp;
  fs::path work;
  std::string savedDir;
  std::vector<std::string> messages;
};

TEST_F(RealLibraryTest, WholeArchiveWithProgress) {
  MakeArchive("-r ../a.zip .");
  std::vector<std::string> started;
  zip->OnProgress = [&](TZipComponent*, ProgressType type, const std::string& name, std::int32_t) {
    if (type == ptFileStart) started.push_back(name);
  };
  zip->SetZipFileName((work / "a.zip").string());
  zip->Extract();
  EXPECT_TRUE(messages.empty()) << messages.front();
  for (const char* name : {"index.htm", "pages/one.htm", "pages/big.txt"}) ExpectExtracted(name);
  EXPECT_EQ(zip->ExtractedCount(), 4);  // the folder entry counts too
  EXPECT_NE(std::find(started.begin(), started.end(), "pages\\big.txt"), started.end());
  EXPECT_EQ(TZipComponentTestPeer::Library(*zip).Handle(), nullptr);
  EXPECT_EQ(GetCurrentDir(), (work / "out").string());
}

TEST_F(RealLibraryTest, SpecsPickEntries) {
  MakeArchive("-r ../a.zip .");
  zip->SetZipFileName((work / "a.zip").string());
  zip->FSpecArgs().Add("index.htm");
  zip->FSpecArgs().Add("pages/one.htm");
  zip->Extract();
  ExpectExtracted("index.htm");
  ExpectExtracted("pages/one.htm");
  EXPECT_FALSE(fs::exists(work / "out/pages/big.txt"));
  EXPECT_EQ(zip->FSpecArgs().Count(), 0);
}

TEST_F(RealLibraryTest, PasswordDialogAnswersEncryptedEntries) {
  MakeArchive("-P Sesame ../locked.zip index.htm pages/one.htm");
  backend.formAnswers.push_back({"Sesame", TScriptedBackend::PressEnter});
  backend.formAnswers.push_back({"Sesame", TScriptedBackend::PressEnter});
  zip->SetZipFileName((work / "locked.zip").string());
  zip->Extract();
  ExpectExtracted("index.htm");
  ExpectExtracted("pages/one.htm");
  ASSERT_FALSE(backend.formsSeen.empty());
  EXPECT_EQ(backend.formsSeen[0].caption, "Password");
}

TEST_F(RealLibraryTest, PasswordDialogOpensAnAesIssue) {
  const std::string command =
      "cd '" + (work / "tree").string() + "' && 7z a -tzip -mem=AES256 -pSesame ../aes.kvx . >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  backend.formAnswers.push_back({"Sesame", TScriptedBackend::PressEnter});
  zip->SetZipFileName((work / "aes.kvx").string());
  zip->Extract();
  EXPECT_TRUE(messages.empty()) << messages.front();
  for (const char* name : {"index.htm", "pages/one.htm", "pages/big.txt"}) ExpectExtracted(name);
  // One answer unlocks every entry.
  ASSERT_EQ(backend.formsSeen.size(), 1u);
  EXPECT_EQ(backend.formsSeen[0].caption, "Password");
}

TEST_F(RealLibraryTest, CancelledPasswordSkipsTheEntry) {
  MakeArchive("-P Sesame ../locked.zip index.htm");
  std::vector<std::string> skipped;
  zip->OnExtractSkipped = [&](TZipComponent*, const std::string& name, UnZipSkipTypes, std::int32_t) {
    skipped.push_back(name);
  };
  zip->SetZipFileName((work / "locked.zip").string());
  zip->Extract();
  EXPECT_FALSE(fs::exists(work / "out/index.htm"));
  EXPECT_EQ(skipped, std::vector<std::string>{"index.htm"});
  EXPECT_EQ(zip->ExtractedCount(), 0);
}

class SpannedTest : public RealLibraryTest {
 protected:
  // Makes a numbered set of the tree and aims the component at its last part.
  void MakeSet() {
    MakeArchive("-r -s 64k ../set.zip .");
    fs::create_directories(work / "parts");
    fs::create_directories(work / "temp");
    int n = 0;
    for (const char* part : {"set.z01", "set.z02", "set.z03", "set.zip"}) {
      if (!fs::exists(work / part)) continue;
      char name[32];
      std::snprintf(name, sizeof name, "set%03d.zip", ++n);
      fs::copy_file(work / part, work / "parts" / name);
      lastPart = (work / "parts" / name).string();
    }
    ASSERT_GE(n, 2);
    zip->SetUnattended(true);
    zip->SetPassword("unused");
    zip->SetZipFileName(lastPart);
    ASSERT_NE(zip->Volume().LastVolume(), 0);
    zip->SetTempDir((work / "temp").string());
  }
  std::string lastPart;
};

TEST_F(SpannedTest, JoinedExtractedAndTheJoinedFileRemoved) {
  MakeSet();
  zip->Extract();
  for (const std::string& m : messages) EXPECT_EQ(m.rfind("0 Copying: ", 0), 0u) << m;
  for (const char* name : {"index.htm", "pages/one.htm", "pages/big.txt"}) ExpectExtracted(name);
  EXPECT_TRUE(fs::is_empty(work / "temp"));
  EXPECT_EQ(zip->ZipFileName(), lastPart);
  EXPECT_FALSE(zip->InOperation());
}

TEST_F(SpannedTest, JoinedFileIsRemovedAfterAFailedExtraction) {
  MakeSet();
  bool joined = false;  // the join ends with a batch end; the library's entries follow
  zip->OnProgress = [&](TZipComponent*, ProgressType type, const std::string&, std::int32_t) {
    if (type == ptBatchEnd) joined = true;
    if (type == ptFileStart && joined) throw std::runtime_error("stop");
  };
  zip->Extract();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "0 Fatal Error in KVX.DLL: abort exception");
  EXPECT_EQ(zip->ExtractedCount(), 0);
  EXPECT_TRUE(fs::is_empty(work / "temp"));
}
}  // namespace
