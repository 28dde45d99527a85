// Deflate64 (method 9): deflate with a 64 KiB window, length code 285 taking 16 extra bits on a
// base of 3, and distance codes 30 and 31. Decoded block by block into a window buffer from which
// the output is handed out; every step that reads bits either completes or waits for more input.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "kvx/Decoder.h"
#include "kvx/HuffmanCode.h"

namespace {

constexpr std::size_t HistorySize = 64 * 1024;
constexpr std::size_t LongestMatch = 3 + 0xFFFF;
constexpr std::size_t WindowCapacity = 512 * 1024;

constexpr std::uint16_t LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr std::uint8_t LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr std::uint16_t DistanceBase[32] = {
    1,   2,   3,   4,   5,    7,    9,    13,   17,   25,   33,   49,    65,    97,    129,   193,
    257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::uint8_t DistanceExtra[32] = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                            7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
// The order in which a dynamic block lists the lengths of the code-length code.
constexpr std::uint8_t CodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                              11, 4,  12, 3, 13, 2, 14, 1, 15};

class Deflate64Decoder : public Decoder {
 public:
  explicit Deflate64Decoder(EntrySource& source)
      : Decoder(source), FWindow(std::make_unique_for_overwrite<std::uint8_t[]>(WindowCapacity)) {}

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    for (;;) {
      const std::size_t n = std::min(cap - done, FPos - FDelivered);
      std::memcpy(out + done, FWindow.get() + FDelivered, n);
      FDelivered += n;
      done += n;
      if (FDelivered < FPos) return Step::Ok;
      if (FState == State::Done) return Step::End;
      if (done > 0) return Step::Ok;
      if (FPos + LongestMatch > WindowCapacity) {
        std::memmove(FWindow.get(), FWindow.get() + FPos - HistorySize, HistorySize);
        FPos = FDelivered = HistorySize;
      }
      const Progress progress = Inflate();
      if (progress == Progress::Failed) return Step::Error;
      if (progress == Progress::NeedInput && FPos == FDelivered)
        return FEof ? Fail("unexpected end of data") : Step::Ok;
    }
  }

 private:
  enum class State {
    Header,
    StoredLength,
    Stored,
    TableSizes,
    CodeLengthCode,
    CodeLengths,
    Codes,
    Distance,
    Done
  };
  enum class Progress { Room, NeedInput, Failed };

  void Refill() {
    while (FBitCount <= 56 && FInAvail > 0) {
      FBits |= static_cast<std::uint64_t>(*FIn++) << FBitCount;
      FBitCount += 8;
      --FInAvail;
    }
  }
  std::uint32_t Peek(unsigned skip, unsigned count) const {
    return static_cast<std::uint32_t>((FBits >> skip) & ((std::uint64_t{1} << count) - 1));
  }
  void Drop(unsigned count) {
    FBits >>= count;
    FBitCount -= count;
  }
  Progress Failed(const char* text) {
    Fail(text);
    return Progress::Failed;
  }
  void EndBlock() { FState = FFinal ? State::Done : State::Header; }

  // Decodes until the window has no room for a longest match, the input runs dry or the stream ends.
  Progress Inflate() {
    while (FPos + LongestMatch <= WindowCapacity) {
      Refill();
      switch (FState) {
        case State::Header: {
          if (FBitCount < 3) return Progress::NeedInput;
          FFinal = Peek(0, 1) != 0;
          const std::uint32_t type = Peek(1, 2);
          Drop(3);
          if (type == 0) {
            Drop(FBitCount % 8);
            FState = State::StoredLength;
          } else if (type == 1) {
            UseFixedCodes();
          } else if (type == 2) {
            FState = State::TableSizes;
          } else {
            return Failed("invalid block type");
          }
          break;
        }
        case State::StoredLength:
          if (FBitCount < 32) return Progress::NeedInput;
          if (Peek(0, 16) != (~Peek(16, 16) & 0xFFFF)) return Failed("invalid stored block length");
          FStoredLeft = Peek(0, 16);
          Drop(32);
          FState = State::Stored;
          break;
        case State::Stored:
          if (!CopyStored()) return Progress::NeedInput;
          break;
        case State::TableSizes:
          if (FBitCount < 14) return Progress::NeedInput;
          FLiteralCount = 257 + Peek(0, 5);
          FDistanceCount = 1 + Peek(5, 5);
          FCodeLengthCount = 4 + Peek(10, 4);
          Drop(14);
          std::fill(std::begin(FLengths), std::end(FLengths), 0);
          FFilled = 0;
          FState = State::CodeLengthCode;
          break;
        case State::CodeLengthCode:
          while (FFilled < FCodeLengthCount) {
            Refill();
            if (FBitCount < 3) return Progress::NeedInput;
            FLengths[CodeLengthOrder[FFilled++]] = static_cast<std::uint8_t>(Peek(0, 3));
            Drop(3);
          }
          if (!FCodeLengthCode.Build(FLengths, 19)) return Failed("invalid code lengths");
          std::fill(std::begin(FLengths), std::end(FLengths), 0);
          FFilled = 0;
          FState = State::CodeLengths;
          break;
        case State::CodeLengths: {
          const Progress p = ReadCodeLengths();
          if (p != Progress::Room) return p;
          break;
        }
        case State::Codes:
        case State::Distance: {
          const Progress p = DecodeCodes();
          if (p != Progress::Room) return p;
          break;
        }
        case State::Done:
          return Progress::Room;
      }
      if (FState == State::Done) return Progress::Room;
    }
    return Progress::Room;
  }

  void UseFixedCodes() {
    if (!FFixedReady) {
      std::uint8_t lengths[288 + 32];
      std::fill(lengths, lengths + 144, 8);
      std::fill(lengths + 144, lengths + 256, 9);
      std::fill(lengths + 256, lengths + 280, 7);
      std::fill(lengths + 280, lengths + 288, 8);
      std::fill(lengths + 288, lengths + 320, 5);
      FFixedLiterals.Build(lengths, 288);
      FFixedDistances.Build(lengths + 288, 32);
      FFixedReady = true;
    }
    FLiterals = &FFixedLiterals;
    FDistances = &FFixedDistances;
    FState = State::Codes;
  }

  // False when the input ran dry before the block's bytes were all copied.
  bool CopyStored() {
    while (FStoredLeft > 0 && FBitCount >= 8) {
      if (FPos == WindowCapacity) return true;
      FWindow[FPos++] = static_cast<std::uint8_t>(Peek(0, 8));
      Drop(8);
      --FStoredLeft;
    }
    const std::size_t n = std::min({FStoredLeft, FInAvail, WindowCapacity - FPos});
    std::memcpy(FWindow.get() + FPos, FIn, n);
    FPos += n;
    FIn += n;
    FInAvail -= n;
    FStoredLeft -= n;
    if (FStoredLeft == 0) {
      EndBlock();
      return true;
    }
    return FPos == WindowCapacity || FInAvail > 0;
  }

  Progress ReadCodeLengths() {
    const std::size_t total = FLiteralCount + FDistanceCount;
    while (FFilled < total) {
      Refill();
      unsigned used = 0;
      const int symbol = FCodeLengthCode.Decode(FBits, FBitCount, used);
      if (symbol == HuffmanCode::NeedBits) return Progress::NeedInput;
      if (symbol < 0) return Failed("invalid code lengths");
      if (symbol < 16) {
        FLengths[FFilled++] = static_cast<std::uint8_t>(symbol);
        Drop(used);
        continue;
      }
      const unsigned extra = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
      if (used + extra > FBitCount) return Progress::NeedInput;
      const std::size_t repeat = (symbol == 16 ? 3 : symbol == 17 ? 3 : 11) + Peek(used, extra);
      if (symbol == 16 && FFilled == 0) return Failed("invalid code lengths");
      if (repeat > total - FFilled) return Failed("invalid code lengths");
      const std::uint8_t value = symbol == 16 ? FLengths[FFilled - 1] : 0;
      std::fill(FLengths + FFilled, FLengths + FFilled + repeat, value);
      FFilled += repeat;
      Drop(used + extra);
    }
    if (FLengths[256] == 0) return Failed("block without an end code");
    if (!FLiteralCode.Build(FLengths, FLiteralCount) ||
        !FDistanceCode.Build(FLengths + FLiteralCount, FDistanceCount))
      return Failed("invalid code lengths");
    FLiterals = &FLiteralCode;
    FDistances = &FDistanceCode;
    FState = State::Codes;
    return Progress::Room;
  }

  Progress DecodeCodes() {
    std::uint8_t* window = FWindow.get();
    while (FPos + LongestMatch <= WindowCapacity) {
      if (FBitCount < 32) Refill();
      unsigned used = 0;
      if (FState == State::Codes) {
        const int symbol = FLiterals->Decode(FBits, FBitCount, used);
        if (symbol < 256) {
          if (symbol < 0)
            return symbol == HuffmanCode::NeedBits ? Progress::NeedInput : Failed("invalid code");
          window[FPos++] = static_cast<std::uint8_t>(symbol);
          Drop(used);
          continue;
        }
        if (symbol == 256) {
          Drop(used);
          EndBlock();
          return Progress::Room;
        }
        const unsigned index = static_cast<unsigned>(symbol) - 257;
        if (index >= 29) return Failed("invalid length code");
        const unsigned extra = LengthExtra[index];
        if (used + extra > FBitCount) return Progress::NeedInput;
        FMatchLength = LengthBase[index] + Peek(used, extra);
        Drop(used + extra);
        FState = State::Distance;
        if (FBitCount < 32) Refill();
      }
      const int symbol = FDistances->Decode(FBits, FBitCount, used);
      if (symbol < 0)
        return symbol == HuffmanCode::NeedBits ? Progress::NeedInput : Failed("invalid distance code");
      const unsigned extra = DistanceExtra[symbol];
      if (used + extra > FBitCount) return Progress::NeedInput;
      const std::size_t distance = DistanceBase[symbol] + Peek(used, extra);
      Drop(used + extra);
      if (distance > FPos) return Failed("distance beyond the start of the data");
      CopyMatch(window, distance);
      FState = State::Codes;
    }
    return Progress::Room;
  }

  void CopyMatch(std::uint8_t* window, std::size_t distance) {
    std::uint8_t* to = window + FPos;
    const std::uint8_t* from = to - distance;
    if (distance >= FMatchLength) {
      std::memcpy(to, from, FMatchLength);
    } else {
      for (std::size_t i = 0; i < FMatchLength; ++i) to[i] = from[i];
    }
    FPos += FMatchLength;
  }

  // Left unfilled: a match reaches back no further than FPos, so no byte is read before it is
  // written.
  std::unique_ptr<std::uint8_t[]> FWindow;
  std::size_t FPos = 0;        // end of the decoded bytes in FWindow
  std::size_t FDelivered = 0;  // end of the bytes handed out
  std::uint64_t FBits = 0;
  unsigned FBitCount = 0;
  State FState = State::Header;
  bool FFinal = false;
  std::size_t FStoredLeft = 0;
  std::size_t FLiteralCount = 0, FDistanceCount = 0, FCodeLengthCount = 0, FFilled = 0;
  std::size_t FMatchLength = 0;
  std::uint8_t FLengths[288 + 32] = {};
  HuffmanCode FCodeLengthCode, FLiteralCode, FDistanceCode, FFixedLiterals, FFixedDistances;
  const HuffmanCode* FLiterals = nullptr;
  const HuffmanCode* FDistances = nullptr;
  bool FFixedReady = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeflate64Decoder(EntrySource& source) {
  return std::make_unique<Deflate64Decoder>(source);
}
