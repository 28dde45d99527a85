// The message table, the fallback text, and how messages and errors are reported.
#include <gtest/gtest.h>

#include <fstream>

#include "classlib/Application.h"
#include "classlib/ScriptedBackend.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipText.h"

namespace {

const std::string Missing =
    "The message table is probably not linked to the executable\nMissing String ID is: ";

// The table as kept in resources/: id, tab, text with "\n" for a line feed.
std::vector<std::pair<int, std::string>> TableSource() {
  std::ifstream in(std::string(FOLIVO_SOURCE_DIR) + "/resources/messages.txt");
  std::vector<std::pair<int, std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto tab = line.find('\t');
    std::string text = line.substr(tab + 1);
    for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
      text.replace(at, 2, "\n");
    rows.emplace_back(std::stoi(line.substr(0, tab)), text);
  }
  return rows;
}

class ZipMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    Application.Title = "Folivo";
    zip.OnMessage = [this](TObject*, std::int32_t code, const std::string& text) {
      codes.push_back(code);
      texts.push_back(text);
    };
  }
  void TearDown() override { SetBackend(nullptr); }
  TScriptedBackend backend;
  TZipComponent zip{nullptr};
  std::vector<std::int32_t> codes;
  std::vector<std::string> texts;
};

TEST_F(ZipMessages, EveryIdYieldsExactlyTheTableText) {
  const auto rows = TableSource();
  ASSERT_EQ(rows.size(), 99u);
  for (const auto& [id, text] : rows) EXPECT_EQ(zip.LoadMessageText(id, "fallback"), text) << id;
  EXPECT_EQ(zip.LoadMessageText(10105, ""), "Copying: ");
  EXPECT_EQ(zip.LoadMessageText(11035, ""), "\nin drive: %s");
  EXPECT_EQ(zip.LoadMessageText(10106, "fallback"), "fallback");
}

TEST_F(ZipMessages, ReportMessageShowsSetsAndFires) {
  zip.ReportMessage(10106, "");
  EXPECT_EQ(zip.LastMessage(), Missing + "10106");
  EXPECT_EQ(zip.LastErrorCode(), 10106);
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].kind, "ShowMessage");
  EXPECT_EQ(backend.shown[0].text, Missing + "10106");
  EXPECT_EQ(codes, std::vector<std::int32_t>{0});

  zip.SetUnattended(true);
  zip.ReportMessage(MessageId::ListUnknownError, "boom");
  EXPECT_EQ(zip.LastMessage(), "Unknown error in List() function\nboom");
  EXPECT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(texts.back(), zip.LastMessage());
}

TEST_F(ZipMessages, ReportZipErrorHonoursTheShowFlag) {
  zip.ReportZipError(EZipComponent(MessageId::UserCanceled, false));
  EXPECT_TRUE(backend.shown.empty());
  EXPECT_EQ(zip.LastErrorCode(), MessageId::UserCanceled);
  EXPECT_EQ(zip.LastMessage(), "User canceled operation");
  zip.ReportZipError(EZipComponent(MessageId::NotAValidArchive, true));
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].text, "This archive is not a valid Zip archive");
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0, 0}));
}

TEST(ZipException, FormatsOnlyItsOnePlaceholder) {
  const EZipComponent third(MessageId::NotLastDiskOfSet, 3);
  EXPECT_EQ(third.Message(),
            "This is the 3th disk in a backup set,\nplease insert the last disk of this set");
  EXPECT_TRUE(third.ShowToUser());
  EXPECT_EQ(third.MessageId(), MessageId::NotLastDiskOfSet);
  EXPECT_EQ(EZipComponent(MessageId::InvalidDrive, std::string("/media/%d%s/")).Message(),
            "Not a valid drive: /media/%d%s/");
  // A value of the wrong kind leaves the placeholder as written.
  EXPECT_EQ(EZipComponent(MessageId::InvalidDrive, 5).Message(), "Not a valid drive: %s");
  EXPECT_EQ(EZipComponent(10181, std::string("a")).Message(), "Overwrite file 'a' in '%s' ?");
  EXPECT_EQ(EZipComponent(10304, 7).Message(), "Error 7 occurred during Auto SFX creation.");
  EXPECT_EQ(EZipComponent(10106, 4).Message(), Missing + "10106");
  EXPECT_EQ(EZipComponent(10106, std::string("x")).Message(), Missing + "10106");
  EXPECT_FALSE(EZipComponent(MessageId::UserCanceled, false).ShowToUser());
}

TEST(ZipText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatZipText("Please insert disk volume %.1d of %.1d", {2, 4}),
            "Please insert disk volume 2 of 4");
  EXPECT_EQ(FormatZipText("%s and %d", {"%d", 1}), "%d and 1");
  EXPECT_EQ(FormatZipText("100%", {1}), "100%");
  EXPECT_EQ(FormatZipText("%d", {}), "%d");
}

}  // namespace
