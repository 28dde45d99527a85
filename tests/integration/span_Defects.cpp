// Each set under tests/data/join/ is named by its defect (<defect>001.zip, ...); joining its
// highest-numbered part fails with the expected report and leaves nothing behind.
#include <algorithm>
#include <filesystem>
#include <set>

#include "tests/integration/span_Fixture.h"
#include "zip/ZipMsg.h"

namespace {

struct SetDefect {
  const char* stem;
  std::int32_t id;
};

std::ostream& operator<<(std::ostream& out, const SetDefect& d) {
  return out << d.stem;
}

const std::string JoinData = std::string(FOLIVO_TEST_DATA_DIR) + "/join/";

class JoinDefects : public SpanJoinTest, public ::testing::WithParamInterface<SetDefect> {};

TEST_P(JoinDefects, ReportsAsExpected) {
  const std::string stem = GetParam().stem;
  std::string last;
  for (const auto& entry : std::filesystem::directory_iterator(JoinData)) {
    const std::string name = entry.path().filename();
    if (name.size() != stem.size() + 7 || name.compare(0, stem.size(), stem) != 0) continue;
    std::filesystem::copy_file(entry.path(), dir / name);
    last = std::max(last, name);
  }
  ASSERT_FALSE(last.empty());
  ExpectFailedWith(Join(dir / last), GetParam().id);
}

const SetDefect Defects[] = {
    {"local-name-not-in-directory", MessageId::LocalHeaderNotInTable},
    {"two-local-headers-one-name", MessageId::LocalHeaderNotInTable},
    {"first-volume-without-marker", MessageId::DataDescriptorBadSignature},
    {"size-past-last-volume", MessageId::EntryDataReadFailed},
    {"bad-local-signature", MessageId::LocalHeaderBadSignature},
    {"bad-central-signature", MessageId::CentralHeaderBadSignature},
    {"central-volume-past-last", MessageId::EndRecordReadFailed},
    {"entry-count-past-directory", MessageId::CentralHeaderReadFailed},
    {"missing-middle-volume", MessageId::InputFileMissing},
    {"only-first-volume", MessageId::FirstDiskOfSet},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, JoinDefects, ::testing::ValuesIn(Defects),
                         [](const ::testing::TestParamInfo<SetDefect>& info) {
                           std::string name = info.param.stem;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(JoinDefectsTable, EverySetIsMapped) {
  std::set<std::string> stems;
  for (const auto& entry : std::filesystem::directory_iterator(JoinData)) {
    const std::string name = entry.path().filename();
    if (entry.path().extension() == ".zip") stems.insert(name.substr(0, name.size() - 7));
  }
  EXPECT_EQ(stems.size(), std::size(Defects));
}

// Whatever a handler throws inside the run, standard or not, ends it as an unknown error.
TEST_F(SpanJoinTest, AnyExceptionIsReportedAsUnknown) {
  CraftedSet set;
  set.entries = {{"a.txt", "abc"}};
  const auto parts = WriteNumberedParts(dir.Path(), "set", BuildCraftedSet(set));
  zip.OnProgress = [this](TObject*, ProgressType kind, const std::string&, std::int32_t) {
    progress.push_back({kind, "", 0});
    if (kind == ptFileStart) throw 42;
  };
  EXPECT_EQ(Join(parts.back()), -9);
  EXPECT_EQ(zip.LastErrorCode(), MessageId::SpanUnknownError);
  EXPECT_TRUE(out.empty());
  ExpectRunEnded();
}

}  // namespace
