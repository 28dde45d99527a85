// Hostile and damaged archives: nothing is written outside the target folder, each bad entry is
// reported, and the good entries around it are still extracted.
#include <sys/mount.h>

#include <filesystem>
#include <random>
#include <set>

#include "kvx/KvxMessages.h"
#include "tests/integration/kvx_Harness.h"
#include "zipformat/ZipRecords.h"

namespace fs = std::filesystem;

namespace {

// Writes entries (name, data, unix mode) with raw names, in order, into archive.
const char* kRawZip = R"(
import sys, zipfile
out = sys.argv[1]
items = sys.argv[2:]
with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
    for i in range(0, len(items), 3):
        info = zipfile.ZipInfo(items[i])
        info.create_system = 3
        info.external_attr = int(items[i + 2], 8) << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, items[i + 1])
)";

class KvxSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "out");
    WriteBytes(root / "sentinel", "keep");
  }
  std::string Raw(const std::vector<std::string>& items) {
    std::string args = Quoted(root / "a.zip");
    for (const auto& item : items) args += " " + Quoted(item);
    EXPECT_EQ(KvxPython(work.Path(), kRawZip, args), 0);
    return root / "a.zip";
  }
  // Everything under root but out/ is as the test left it.
  void ExpectNothingOutside() {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(root.Path())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"a.zip", "out", "sentinel"}));
    EXPECT_FALSE(fs::exists(work / "evil"));
  }
  TTempFolder root, work;
};

}  // namespace

TEST_F(KvxSafety, UnsafeNamesAreSkippedAndTheRestExtracted) {
  std::string zip = Raw({"../evil",      "x",  "644", "/abs/evil",    "x",   "644", "C:evil", "x", "644",
                         "a/../../evil", "x",  "644", "good/one.txt", "one", "644", "",       "x", "644",
                         "./ok.txt",     "ok", "755"});
  KvxHarness kvx;
  EXPECT_EQ(kvx.Run(zip, root / "out"), 2);
  ExpectNothingOutside();
  auto skips = kvx.Skips();
  for (const char* bad : {"../evil", "/abs/evil", "C:evil", "a/../../evil", ""})
    EXPECT_EQ(skips[bad], kvxSkipBadName) << bad;
  EXPECT_EQ(ReadBytes(root / "out/good/one.txt"), "one");
  EXPECT_EQ(fs::status(root / "out/ok.txt").permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
  EXPECT_EQ(KvxTree(root / "out").size(), 3u);
}

TEST_F(KvxSafety, SymbolicLinksAreNeverCreatedNorFollowed) {
  fs::create_directories(work / "target");
  std::string zip =
      Raw({"link", work / "target", "120777", "link/evil", "x", "644", "after.txt", "a", "644"});
  KvxHarness kvx;
  EXPECT_EQ(kvx.Run(zip, root / "out"), 2);  // link/evil lands in a real folder "link"
  EXPECT_EQ(kvx.Skips()["link"], kvxSkipLink);
  EXPECT_FALSE(fs::is_symlink(root / "out/link"));
  EXPECT_FALSE(fs::exists(work / "target/evil"));

  // A link already in the target folder is not written through, as a folder or as the file.
  TTempFolder out2;
  fs::create_directory_symlink(work / "target", out2 / "dir");
  fs::create_symlink(work / "target/f", out2 / "file");
  std::string zip2 = Raw({"dir/evil", "x", "644", "file", "x", "644", "fine", "f", "644"});
  KvxHarness again;
  EXPECT_EQ(again.Run(zip2, out2.Path()), 1);
  EXPECT_EQ(again.Skips()["dir/evil"], kvxSkipLink);
  EXPECT_EQ(again.Skips()["file"], kvxSkipLink);
  EXPECT_TRUE(fs::is_empty(work / "target"));
  ExpectNothingOutside();
}

TEST_F(KvxSafety, DataLongerThanDeclaredIsRefused) {
  if (!fs::exists(FOLIVO_CORPUS_DIR "/libarchive")) GTEST_SKIP() << "no corpus";
  for (const char* name : {"test_read_format_zip_size_exceeds_declared_deflate.zip",
                           "test_read_format_zip_size_exceeds_declared_stored.zip",
                           "test_read_data_into_fd_size_exceeds_declared_deflate.zip"}) {
    TTempFolder out;
    KvxHarness kvx;
    kvx.Run(std::string(FOLIVO_CORPUS_DIR "/libarchive/") + name, out.Path());
    EXPECT_EQ(kvx.Skips()["first"], kvxSkipCorrupt) << name;
    EXPECT_FALSE(fs::exists(out / "first")) << name;
    // Nothing half-written is left behind.
    for (const auto& [path, data] : KvxTree(out.Path())) EXPECT_EQ(path.find(".part"), std::string::npos);
  }
}

TEST_F(KvxSafety, CorruptEntryDoesNotStopTheNextOne) {
  std::string zip = Raw({"bad.txt", std::string(5000, 'b'), "644", "good.txt", "g", "644"});
  std::string bytes = ReadBytes(zip);
  // Damage the deflate data of the first entry (it starts after the 30-byte header and the name).
  for (std::size_t i = 37; i < 45; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
  WriteBytes(zip, bytes);
  KvxHarness kvx;
  EXPECT_EQ(kvx.Run(zip, root / "out"), 1);
  EXPECT_EQ(kvx.Skips()["bad.txt"], kvxSkipCorrupt);
  EXPECT_EQ(ReadBytes(root / "out/good.txt"), "g");
  EXPECT_EQ(KvxTree(root / "out").size(), 1u);
}

// Room taken by another writer while the extraction runs: the entry that would eat into the margin
// left free is stopped and removed, the one written before it stays.
TEST_F(KvxSafety, EntryStopsBeforeTheDestinationFillsUp) {
  const fs::path small = root / "out";
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=4m") != 0) GTEST_SKIP() << "no tmpfs can be mounted";
  const std::string zip = root / "a.zip";
  TestZip archive;
  archive.entries = {TestEntry("first.bin", std::string(1 << 20, 'a')),
                     TestEntry("second.bin", std::string(1 << 20, 'b'))};
  WriteBytes(zip, BuildTestZip(archive));
  KvxHarness kvx;
  kvx.Answer = [&](UnzipCallbackRecord& r) {
    if (r.ActionCode == kvxFileStart && std::string(r.Text) == "second.bin")
      WriteBytes((small / "other-writer").string(), std::string(2 << 20, 'x'));
    return 0;
  };
  EXPECT_EQ(kvx.Run(zip, small), 1);
  EXPECT_EQ(kvx.Skips()["second.bin"], kvxSkipWriteError);
  EXPECT_EQ(kvx.Of(kvxMessage).at(0).Code, kvxErrLimit);
  const auto tree = KvxTree(small);
  umount(small.c_str());
  EXPECT_EQ(tree.size(), 2u);
  EXPECT_EQ(tree.count("first.bin"), 1u);
  EXPECT_EQ(tree.count("other-writer"), 1u);
}

TEST_F(KvxSafety, TruncatedAndBitFlippedArchivesStayInside) {
  std::string zip =
      Raw({"d/a.txt", std::string(3000, 'a'), "644", "b.bin", "0123456789abcdef", "644", "c", "", "644"});
  const std::string good = ReadBytes(zip);
  std::mt19937 random(11);
  for (int round = 0; round < 150; ++round) {
    std::string bytes = good;
    if (round % 3 == 0)
      bytes.resize(random() % bytes.size());
    else
      for (int k = 0; k < 1 + round % 4; ++k)
        bytes[random() % bytes.size()] ^= static_cast<char>(1 << (random() % 8));
    WriteBytes(zip, bytes);
    KvxHarness kvx;
    std::int32_t count = kvx.Run(zip, root / "out");
    EXPECT_LE(count, 4);
    kvx.Cmd.TestFlag = -1;
    kvx.Run(zip, root / "out");
    ExpectNothingOutside();
    for (const auto& [path, data] : KvxTree(root / "out")) {
      EXPECT_EQ(path.find(".part"), std::string::npos);
      EXPECT_LE(data.size(), 3000u) << path;
    }
    fs::remove_all(root / "out");
    fs::create_directory(root / "out");
  }
}

TEST_F(KvxSafety, AesWrongPasswordOrDamagedDataReplacesNothing) {
  std::string page;
  for (int i = 0; i < 20000; ++i) page += std::to_string(i * 7919 % 10007) + " ";
  WriteBytes(work / "page.htm", page);
  ASSERT_EQ(Shell("cd " + Quoted(work.Path()) + " && 7z a -tzip -mem=AES256 -pright " +
                  Quoted(root / "a.zip") + " page.htm >/dev/null"),
            0);
  WriteBytes(root / "out/page.htm", "old");
  KvxHarness kvx;
  kvx.Cmd.Password = "wrong";
  EXPECT_EQ(kvx.Run(root / "a.zip", root / "out"), 0);
  EXPECT_EQ(kvx.Skips()["page.htm"], kvxSkipBadPassword);

  // One bit flipped in the middle of the encrypted data: the authentication code no longer matches.
  std::string bytes = ReadBytes(root / "a.zip");
  bytes[bytes.size() / 3] = static_cast<char>(bytes[bytes.size() / 3] ^ 1);
  WriteBytes(root / "a.zip", bytes);
  kvx.Cmd.Password = "right";
  EXPECT_EQ(kvx.Run(root / "a.zip", root / "out"), 0);
  EXPECT_EQ(kvx.Skips()["page.htm"], kvxSkipCorrupt);
  ASSERT_EQ(kvx.Of(kvxMessage).size(), 1u);
  EXPECT_NE(kvx.Of(kvxMessage)[0].Text.find("authentication failed"), std::string::npos);
  EXPECT_EQ(KvxTree(root / "out"), (std::map<std::string, std::string>{{"page.htm", "old"}}));
  ExpectNothingOutside();
}

TEST_F(KvxSafety, UnsupportedMethodsAndEncryptionsAreNamed) {
  TestZip zip;
  zip.entries = {TestEntry("old.txt", "x"), TestEntry("locked.txt", "y"), TestEntry("x.ppmd", "z")};
  // A strong encryption block: format 2, algorithm 0x6601, 64 bits, flags 1.
  zip.entries[1].extra = std::string("\x17\x00\x08\x00\x02\x00\x01\x66\x40\x00\x01\x00", 12);
  zip.entries[1].flags = FlagEncrypted | FlagStrongEncryption;
  std::string bytes = BuildTestZip(zip);
  // Methods in the local and central headers: Implode, stored, PPMd.
  const std::uint16_t methods[] = {6, 0, 98};
  for (std::size_t at = 0, local = 0, central = 0; (at = bytes.find("PK", at)) != std::string::npos; ++at) {
    if (bytes.compare(at, 4, "PK\x03\x04") == 0) bytes[at + 8] = static_cast<char>(methods[local++]);
    if (bytes.compare(at, 4, "PK\x01\x02") == 0) bytes[at + 10] = static_cast<char>(methods[central++]);
  }
  WriteBytes(root / "a.zip", bytes);
  KvxHarness kvx;
  EXPECT_EQ(kvx.Run(root / "a.zip", root / "out"), 0);
  std::vector<std::string> texts;
  for (const KvxCall& call : kvx.Of(kvxMessage)) texts.push_back(call.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Unsupported compression method 6 (Implode) in old.txt",
                       "Unsupported encryption in locked.txt: strong encryption (method 0x6601)",
                       "Unsupported compression method 98 (PPMd) in x.ppmd"}));
}
