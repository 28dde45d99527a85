// The command flags and the callback protocol: progress, passwords, overwrite question, freshen,
// update, test mode, wildcards, junk paths, new names, CRC errors, comments and stopping.
#include <utime.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "tests/integration/kvx_Harness.h"

namespace fs = std::filesystem;

namespace {

class KvxModes : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(work / "src/pages");
    WriteBytes(work / "src/index.htm", "<html>index</html>");
    WriteBytes(work / "src/pages/a.htm", std::string(20000, 'a'));
    WriteBytes(work / "src/pages/b.jpg", "jpeg bytes");
    // Entry times: 2020-01-01.
    for (const char* f : {"index.htm", "pages/a.htm", "pages/b.jpg"})
      SetTime(work / ("src/" + std::string(f)), 1577880000);
  }
  static void SetTime(const std::string& path, time_t t) {
    struct utimbuf times = {t, t};
    utime(path.c_str(), &times);
  }
  std::string Zip(const std::string& name, const std::string& options = "") {
    EXPECT_EQ(
        Shell("cd " + Quoted(work / "src") + " && zip -r -q " + options + " ../" + name + " . 2>/dev/null"),
        0);
    return work / name;
  }
  TTempFolder work, out;
};

}  // namespace

TEST_F(KvxModes, ProgressCallbacksInOrder) {
  KvxHarness kvx;
  EXPECT_EQ(kvx.Version(), 160);
  EXPECT_EQ(kvx.Run(Zip("a.zip"), out.Path()), 4);  // folder pages/ and three files
  ASSERT_GE(kvx.Calls.size(), 3u);
  EXPECT_EQ(kvx.Calls[0].Action, kvxFileCount);
  EXPECT_EQ(kvx.Calls[0].Number, 4);
  EXPECT_EQ(kvx.Calls[1].Action, kvxByteCount);
  EXPECT_EQ(kvx.Calls[1].Number, 20000 + 18 + 10);
  EXPECT_EQ(kvx.Calls.back().Action, kvxBatchEnd);
  std::int64_t written = 0;
  for (const KvxCall& c : kvx.Of(kvxWritten)) written += c.Number;
  EXPECT_EQ(written, 20028);
  EXPECT_EQ(kvx.Of(kvxFileStart).size(), 4u);
  EXPECT_EQ(kvx.Of(kvxNewName).size(), 3u);
  EXPECT_EQ(fs::last_write_time(out / "pages/a.htm"), fs::last_write_time(work / "src/pages/a.htm"));
}

TEST_F(KvxModes, PasswordAskedWithRepeatCountWrongThenRight) {
  std::string zip = Zip("p.zip", "-P secret");
  KvxHarness kvx;
  kvx.Cmd.PasswordReqCount = 3;
  int asked = 0;
  kvx.Answer = [&](UnzipCallbackRecord& r) {
    if (r.ActionCode == kvxPassword) {
      std::strcpy(r.Text, ++asked == 1 ? "wrong" : "secret");
      r.Code = 1;
    }
    return 0;
  };
  EXPECT_EQ(kvx.Run(zip, out.Path()), 4);
  auto asks = kvx.Of(kvxPassword);
  ASSERT_EQ(asks.size(), 2u);  // the right password is kept for the other entries
  EXPECT_EQ(asks[0].Number, 3);
  EXPECT_EQ(asks[1].Number, 2);
  EXPECT_EQ(ReadBytes(out / "pages/a.htm"), std::string(20000, 'a'));

  // The record's password works without asking; a count of 0 never asks.
  TTempFolder out2;
  KvxHarness direct;
  direct.Cmd.Password = "secret";
  EXPECT_EQ(direct.Run(zip, out2.Path()), 4);
  EXPECT_TRUE(direct.Of(kvxPassword).empty());
  TTempFolder out3;
  KvxHarness never;
  EXPECT_EQ(never.Run(zip, out3.Path()), 1);  // only the folder
  EXPECT_TRUE(never.Of(kvxPassword).empty());
  EXPECT_EQ(never.Skips()["index.htm"], kvxSkipBadPassword);
  EXPECT_FALSE(fs::exists(out3 / "index.htm"));
}

TEST_F(KvxModes, PasswordGivenUpOrExhausted) {
  std::string zip = Zip("p.zip", "-P secret");
  KvxHarness giveUp;
  giveUp.Cmd.PasswordReqCount = 5;
  giveUp.Answer = [](UnzipCallbackRecord& r) {
    if (r.ActionCode == kvxPassword) r.Code = 0, r.Number = 0;
    return 0;
  };
  EXPECT_EQ(giveUp.Run(zip, out.Path()), 1);
  EXPECT_EQ(giveUp.Of(kvxPassword).size(), 1u);
  EXPECT_EQ(giveUp.Skips().size(), 3u);

  // A handler that keeps answering a wrong password with the same count is asked a bounded number of times.
  TTempFolder out2;
  KvxHarness stubborn;
  stubborn.Cmd.PasswordReqCount = 4;
  stubborn.Answer = [](UnzipCallbackRecord& r) {
    if (r.ActionCode == kvxPassword) std::strcpy(r.Text, "nope"), r.Code = 1;
    return 0;
  };
  stubborn.Run(zip, out2.Path());
  EXPECT_EQ(stubborn.Of(kvxPassword).size(), 4u);
}

TEST_F(KvxModes, StopAnswerEndsAtOnceAndLeavesNoPartialFile) {
  std::string zip = Zip("a.zip");
  KvxHarness kvx;
  kvx.Answer = [](UnzipCallbackRecord& r) { return r.ActionCode == kvxWritten ? -1 : 0; };
  std::int32_t count = kvx.Run(zip, out.Path());
  EXPECT_LE(count, 1);
  EXPECT_EQ(kvx.Calls.back().Action, kvxWritten);
  EXPECT_TRUE(kvx.Of(kvxBatchEnd).empty());
  for (const auto& [path, data] : KvxTree(out.Path())) EXPECT_EQ(data, "<dir>") << path;
}

TEST_F(KvxModes, ExceptionFromTheCallbackStaysInsideTheLibrary) {
  std::string zip = Zip("a.zip");
  KvxHarness kvx;
  bool thrown = false;
  kvx.Answer = [&](UnzipCallbackRecord& r) -> std::int32_t {
    if (r.ActionCode != kvxWritten || thrown) return 0;
    thrown = true;
    throw std::runtime_error("thrown by the caller");
  };
  EXPECT_EQ(kvx.Run(zip, out.Path()), kvxExecFailed);
  ASSERT_EQ(kvx.Of(kvxMessage).size(), 1u);
  EXPECT_EQ(kvx.Of(kvxMessage)[0].Text, "Extraction stopped: thrown by the caller");
  for (const auto& [path, data] : KvxTree(out.Path())) EXPECT_EQ(data, "<dir>") << path;
}

TEST_F(KvxModes, OverwriteQuestionFreshenAndUpdate) {
  std::string zip = Zip("a.zip");
  WriteBytes(out / "index.htm", "newer copy");
  SetTime(out / "index.htm", 1700000000);
  fs::create_directory(out / "pages");
  WriteBytes(out / "pages/a.htm", "older copy");
  SetTime(out / "pages/a.htm", 1000000000);

  KvxHarness ask;
  ask.Cmd.OverwriteFlag = 0;
  ask.Answer = [](UnzipCallbackRecord& r) {
    if (r.ActionCode == kvxOverwrite) r.Number = (r.Code & 1) ? 1 : 0;  // replace only older files
    return 0;
  };
  EXPECT_EQ(ask.Run(zip, out.Path()), 3);
  EXPECT_EQ(ask.Of(kvxOverwrite).size(), 2u);
  EXPECT_EQ(ask.Skips()["index.htm"], kvxSkipNoOverwrite);
  EXPECT_EQ(ReadBytes(out / "index.htm"), "newer copy");
  EXPECT_EQ(ReadBytes(out / "pages/a.htm"), std::string(20000, 'a'));

  // Freshen: only existing older files; update: those plus new files.
  TTempFolder f;
  fs::create_directory(f / "pages");
  WriteBytes(f / "pages/a.htm", "older copy");
  SetTime(f / "pages/a.htm", 1000000000);
  WriteBytes(f / "index.htm", "newer copy");
  SetTime(f / "index.htm", 1700000000);
  KvxHarness freshen;
  freshen.Cmd.FreshenFlag = -1;
  freshen.Run(zip, f.Path());
  EXPECT_EQ(ReadBytes(f / "pages/a.htm"), std::string(20000, 'a'));
  EXPECT_EQ(ReadBytes(f / "index.htm"), "newer copy");
  EXPECT_FALSE(fs::exists(f / "pages/b.jpg"));
  EXPECT_EQ(freshen.Skips()["pages/b.jpg"], kvxSkipOnFreshen);
  EXPECT_EQ(freshen.Skips()["index.htm"], kvxSkipFileExists);

  WriteBytes(f / "pages/a.htm", "older copy");
  SetTime(f / "pages/a.htm", 1000000000);
  KvxHarness update;
  update.Cmd.UpdateFlag = -1;
  update.Run(zip, f.Path());
  EXPECT_EQ(ReadBytes(f / "pages/a.htm"), std::string(20000, 'a'));
  EXPECT_EQ(ReadBytes(f / "pages/b.jpg"), "jpeg bytes");
  EXPECT_EQ(ReadBytes(f / "index.htm"), "newer copy");
}

TEST_F(KvxModes, TestModeWritesNothingAndCountsGoodEntries) {
  std::string zip = Zip("a.zip");
  KvxHarness kvx;
  kvx.Cmd.TestFlag = -1;
  EXPECT_EQ(kvx.Run(zip, out.Path()), 4);
  EXPECT_TRUE(fs::is_empty(out.Path()));

  // A wrong CRC in the central directory: reported in test mode, asked about when extracting.
  std::string bytes = ReadBytes(zip);
  std::size_t central = bytes.rfind(std::string("PK\1\2"));
  bytes[central + 16] ^= 1;  // CRC of the last central header (pages/b.jpg or index.htm)
  WriteBytes(zip, bytes);
  KvxHarness test;
  test.Cmd.TestFlag = -1;
  EXPECT_EQ(test.Run(zip, out.Path()), 3);
  ASSERT_EQ(test.Of(kvxMessage).size(), 1u);
  EXPECT_NE(test.Of(kvxMessage)[0].Text.find("CRC error"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(out.Path()));

  for (int answer : {0, 1, 2}) {
    TTempFolder o;
    KvxHarness crc;
    crc.Answer = [answer](UnzipCallbackRecord& r) {
      if (r.ActionCode == kvxCrcError) r.Code = answer;
      return 0;
    };
    EXPECT_EQ(crc.Run(zip, o.Path()), 3);
    ASSERT_EQ(crc.Of(kvxCrcError).size(), 1u);
    const KvxCall c = crc.Of(kvxCrcError)[0];
    EXPECT_EQ(static_cast<std::uint32_t>(c.Code) ^ 1u, static_cast<std::uint32_t>(c.Number));
    EXPECT_EQ(KvxTree(o.Path()).size(), answer == 0 ? 3u : 4u) << answer;
    EXPECT_EQ(crc.Of(kvxMessage).size(), answer == 2 ? 1u : 0u) << answer;
  }
}

TEST_F(KvxModes, WildcardsJunkPathsAndNewNames) {
  std::string zip = Zip("a.zip");
  KvxHarness kvx;
  kvx.SetSpecs({"pages/*.htm", "ind?x.[gh]tm"});
  EXPECT_EQ(kvx.Run(zip, out.Path()), 2);
  EXPECT_EQ(KvxTree(out.Path()).size(), 3u);  // pages/, pages/a.htm, index.htm

  TTempFolder junk;
  KvxHarness flat;
  flat.Cmd.DirNamesFlag = 0;
  flat.SetSpecs({"*"});
  EXPECT_EQ(flat.Run(zip, junk.Path()), 3);
  auto tree = KvxTree(junk.Path());
  EXPECT_EQ(tree.size(), 3u);
  EXPECT_EQ(tree["b.jpg"], "jpeg bytes");

  // A new name from the component is used, and checked like a stored name.
  TTempFolder outer;
  const fs::path renamed = outer / "renamed";
  fs::create_directory(renamed);
  KvxHarness rename;
  rename.SetSpecs({"pages/b.jpg", "index.htm"});
  rename.Answer = [](UnzipCallbackRecord& r) {
    if (r.ActionCode == kvxNewName) {
      std::strcpy(r.Text, std::strcmp(r.Text, "index.htm") ? "pics/renamed.jpg" : "../escaped.htm");
      r.Code = 1;
    }
    return 0;
  };
  EXPECT_EQ(rename.Run(zip, renamed), 1);
  EXPECT_EQ(ReadBytes(renamed / "pics/renamed.jpg"), "jpeg bytes");
  EXPECT_EQ(rename.Skips()["index.htm"], kvxSkipBadName);
  EXPECT_FALSE(fs::exists(renamed / "../escaped.htm"));
}

TEST_F(KvxModes, EntryCommentReportedWithItsFirstByte) {
  std::string zip = Zip("a.zip");
  ASSERT_EQ(Shell("printf 'Hello comment\\n.\\n' | zip -c -q " + Quoted(zip) + " index.htm 2>/dev/null"), 0);
  KvxHarness kvx;
  kvx.Run(zip, out.Path());
  auto comments = kvx.Of(kvxComment);
  ASSERT_EQ(comments.size(), 1u);
  EXPECT_EQ(comments[0].Text, "index.htm");
  EXPECT_EQ(comments[0].CommentByte, 'H');
}
