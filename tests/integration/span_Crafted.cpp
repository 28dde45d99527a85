// Joining crafted numbered sets: the cases the zip tool does not make.
#include "tests/integration/span_Fixture.h"

namespace {

class CraftedSets : public SpanJoinTest {
 protected:
  std::int32_t JoinCrafted(const CraftedSet& set) {
    parts = WriteNumberedParts(dir.Path(), "set", BuildCraftedSet(set));
    return Join(parts.back());
  }
  std::vector<std::string> parts;
};

std::string Data(std::size_t size, char seed) {
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>(seed + i * 7 + i / 13);
  return data;
}

TEST_F(CraftedSets, DescriptorsAndDataRunAcrossParts) {
  CraftedSet set;
  set.partSize = 3000;
  set.entries = {{"one.txt", Data(5000, 'a'), "", true},
                 {"two.txt", Data(0, 'b'), "", true},
                 {"three.txt", Data(2500, 'c'), "a comment on three", false},
                 {"four.txt", Data(7000, 'd'), "", true}};
  ASSERT_EQ(JoinCrafted(set), 0) << messages.back();
  ASSERT_GE(parts.size(), 5u);
  EXPECT_EQ(ZipfileListing(out), ExpectedListing(set));
  EXPECT_EQ(Shell("unzip -tq " + Quoted(out) + " >/dev/null"), 0);
  ExpectSingleVolume(4);
  // The local header keeps its compressed size 0; the announced size leaves the data out.
  const std::string bytes = ReadBytes(out);
  EXPECT_EQ(ByteReader(reinterpret_cast<const std::uint8_t*>(bytes.data()), 30).U32(18), 0u);
  EXPECT_EQ(progress[2].kind, ptFileStart);
  EXPECT_EQ(progress[2].size, 30 + 7 + 16);
}

TEST_F(CraftedSets, NamesDifferingInCaseKeepTheirOwnEntries) {
  CraftedSet set;
  set.partSize = 400;
  set.entries = {{"Read.me", Data(300, 'A')}, {"read.ME", Data(200, 'b')}, {"READ.ME", Data(100, 'c')}};
  set.localOrder = {1, 2, 0};
  ASSERT_EQ(JoinCrafted(set), 0) << messages.back();
  EXPECT_EQ(ZipfileListing(out), ExpectedListing(set));
}

TEST_F(CraftedSets, LongNamesAreComparedWhole) {
  const std::string stem(250, 'n');
  CraftedSet set;
  set.partSize = 12000;
  set.entries = {{stem + "-first", Data(100, 'a')},
                 {stem + "-second", Data(100, 'b')},
                 {std::string(9000, 'x') + "-huge", Data(10, 'c')}};
  ASSERT_EQ(JoinCrafted(set), 0) << messages.back();
  EXPECT_EQ(ZipfileListing(out), ExpectedListing(set));
}

TEST_F(CraftedSets, EmptySetGivesAnEmptyArchiveWithItsComment) {
  CraftedSet set;
  set.comment = "nothing here";
  ASSERT_EQ(JoinCrafted(set), 0) << messages.back();
  ExpectSingleVolume(0);
  EXPECT_EQ(ReadBytes(out).size(), 22 + set.comment.size());
  EXPECT_EQ(ReadBytes(out).substr(22), set.comment);
}

}  // namespace
