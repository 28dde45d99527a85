// Component ownership and the memory stream.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classlib/Component.h"
#include "classlib/MemoryStream.h"

namespace {

struct Counted : TComponent {
  Counted(TComponent* owner, std::vector<int>& log, int id) : TComponent(owner), log(log), id(id) {}
  ~Counted() override { log.push_back(id); }
  std::vector<int>& log;
  int id;
};

struct ExternalStream : TMemoryStream {
  void Attach(const std::uint8_t* data, std::int64_t size) {
    FExternal = data;
    FExternalSize = size;
  }
};

}  // namespace

TEST(Component, OwnerFreesWhatItOwnsAndLetsGoOfWhatWentFirst) {
  std::vector<int> log;
  auto* owner = new Counted(nullptr, log, 0);
  auto* a = new Counted(owner, log, 1);
  new Counted(a, log, 2);
  auto* b = new Counted(owner, log, 3);
  EXPECT_EQ(b->Owner(), owner);
  delete a;
  EXPECT_EQ(log, (std::vector<int>{1, 2}));
  delete owner;
  EXPECT_EQ(log, (std::vector<int>{1, 2, 0, 3}));
}

TEST(MemoryStream, GrowsSeeksAndReadsBack) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Write("hello", 5), 5);
  EXPECT_EQ(stream.Seek(8, 0), 8);
  EXPECT_EQ(stream.Write("!", 1), 1);
  EXPECT_EQ(stream.Size(), 9);
  char buffer[16] = {};
  EXPECT_EQ(stream.Seek(0, 0), 0);
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 9);
  EXPECT_EQ(std::memcmp(buffer, "hello\0\0\0!", 9), 0);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
  EXPECT_EQ(stream.Seek(-20, 2), -1);
  EXPECT_EQ(stream.Position(), 9);
  EXPECT_EQ(stream.Seek(-4, 1), 5);
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, ExternalBlockIsReadButNeverWritten) {
  const std::uint8_t block[4] = {1, 2, 3, 4};
  ExternalStream stream;
  stream.Attach(block, 4);
  EXPECT_EQ(stream.Size(), 4);
  std::uint8_t byte = 0;
  stream.Seek(2, 0);
  EXPECT_EQ(stream.Read(&byte, 1), 1);
  EXPECT_EQ(byte, 3);
  EXPECT_EQ(stream.Write("\x09", 1), 1);
  EXPECT_EQ(block[3], 4);
  stream.Seek(0, 0);
  std::uint8_t all[4] = {};
  EXPECT_EQ(stream.Read(all, 4), 4);
  EXPECT_EQ(all[3], 9);
  EXPECT_EQ(all[0], 1);
}
