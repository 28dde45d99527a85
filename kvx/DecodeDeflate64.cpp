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
      : Decoder(source), window_(std::make_unique_for_overwrite<std::uint8_t[]>(WindowCapacity)) {}

 protected:
  Step Run(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    for (;;) {
      const std::size_t n = std::min(cap - done, pos_ - delivered_);
      std::memcpy(out + done, window_.get() + delivered_, n);
      delivered_ += n;
      done += n;
      if (delivered_ < pos_) return Step::Ok;
      if (state_ == State::Done) return Step::End;
      if (done > 0) return Step::Ok;
      if (pos_ + LongestMatch > WindowCapacity) {
        std::memmove(window_.get(), window_.get() + pos_ - HistorySize, HistorySize);
        pos_ = delivered_ = HistorySize;
      }
      const Progress progress = Inflate();
      if (progress == Progress::Failed) return Step::Error;
      if (progress == Progress::NeedInput && pos_ == delivered_)
        return eof_ ? Fail("unexpected end of data") : Step::Ok;
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
    while (bitCount_ <= 56 && inAvail_ > 0) {
      bits_ |= static_cast<std::uint64_t>(*in_++) << bitCount_;
      bitCount_ += 8;
      --inAvail_;
    }
  }
  std::uint32_t Peek(unsigned skip, unsigned count) const {
    return static_cast<std::uint32_t>((bits_ >> skip) & ((std::uint64_t{1} << count) - 1));
  }
  void Drop(unsigned count) {
    bits_ >>= count;
    bitCount_ -= count;
  }
  Progress Failed(const char* text) {
    Fail(text);
    return Progress::Failed;
  }
  void EndBlock() { state_ = final_ ? State::Done : State::Header; }

  // Decodes until the window has no room for a longest match, the input runs dry or the stream ends.
  Progress Inflate() {
    while (pos_ + LongestMatch <= WindowCapacity) {
      Refill();
      switch (state_) {
        case State::Header: {
          if (bitCount_ < 3) return Progress::NeedInput;
          final_ = Peek(0, 1) != 0;
          const std::uint32_t type = Peek(1, 2);
          Drop(3);
          if (type == 0) {
            Drop(bitCount_ % 8);
            state_ = State::StoredLength;
          } else if (type == 1) {
            UseFixedCodes();
          } else if (type == 2) {
            state_ = State::TableSizes;
          } else {
            return Failed("invalid block type");
          }
          break;
        }
        case State::StoredLength:
          if (bitCount_ < 32) return Progress::NeedInput;
          if (Peek(0, 16) != (~Peek(16, 16) & 0xFFFF)) return Failed("invalid stored block length");
          storedLeft_ = Peek(0, 16);
          Drop(32);
          state_ = State::Stored;
          break;
        case State::Stored:
          if (!CopyStored()) return Progress::NeedInput;
          break;
        case State::TableSizes:
          if (bitCount_ < 14) return Progress::NeedInput;
          literalCount_ = 257 + Peek(0, 5);
          distanceCount_ = 1 + Peek(5, 5);
          codeLengthCount_ = 4 + Peek(10, 4);
          Drop(14);
          std::fill(std::begin(lengths_), std::end(lengths_), 0);
          filled_ = 0;
          state_ = State::CodeLengthCode;
          break;
        case State::CodeLengthCode:
          while (filled_ < codeLengthCount_) {
            Refill();
            if (bitCount_ < 3) return Progress::NeedInput;
            lengths_[CodeLengthOrder[filled_++]] = static_cast<std::uint8_t>(Peek(0, 3));
            Drop(3);
          }
          if (!codeLengthCode_.Build(lengths_, 19)) return Failed("invalid code lengths");
          std::fill(std::begin(lengths_), std::end(lengths_), 0);
          filled_ = 0;
          state_ = State::CodeLengths;
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
      if (state_ == State::Done) return Progress::Room;
    }
    return Progress::Room;
  }

  void UseFixedCodes() {
    if (!fixedReady_) {
      std::uint8_t lengths[288 + 32];
      std::fill(lengths, lengths + 144, 8);
      std::fill(lengths + 144, lengths + 256, 9);
      std::fill(lengths + 256, lengths + 280, 7);
      std::fill(lengths + 280, lengths + 288, 8);
      std::fill(lengths + 288, lengths + 320, 5);
      fixedLiterals_.Build(lengths, 288);
      fixedDistances_.Build(lengths + 288, 32);
      fixedReady_ = true;
    }
    literals_ = &fixedLiterals_;
    distances_ = &fixedDistances_;
    state_ = State::Codes;
  }

  // False when the input ran dry before the block's bytes were all copied.
  bool CopyStored() {
    while (storedLeft_ > 0 && bitCount_ >= 8) {
      if (pos_ == WindowCapacity) return true;
      window_[pos_++] = static_cast<std::uint8_t>(Peek(0, 8));
      Drop(8);
      --storedLeft_;
    }
    const std::size_t n = std::min({storedLeft_, inAvail_, WindowCapacity - pos_});
    std::memcpy(window_.get() + pos_, in_, n);
    pos_ += n;
    in_ += n;
    inAvail_ -= n;
    storedLeft_ -= n;
    if (storedLeft_ == 0) {
      EndBlock();
      return true;
    }
    return pos_ == WindowCapacity || inAvail_ > 0;
  }

  Progress ReadCodeLengths() {
    const std::size_t total = literalCount_ + distanceCount_;
    while (filled_ < total) {
      Refill();
      unsigned used = 0;
      const int symbol = codeLengthCode_.Decode(bits_, bitCount_, used);
      if (symbol == HuffmanCode::NeedBits) return Progress::NeedInput;
      if (symbol < 0) return Failed("invalid code lengths");
      if (symbol < 16) {
        lengths_[filled_++] = static_cast<std::uint8_t>(symbol);
        Drop(used);
        continue;
      }
      const unsigned extra = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
      if (used + extra > bitCount_) return Progress::NeedInput;
      const std::size_t repeat = (symbol == 16 ? 3 : symbol == 17 ? 3 : 11) + Peek(used, extra);
      if (symbol == 16 && filled_ == 0) return Failed("invalid code lengths");
      if (repeat > total - filled_) return Failed("invalid code lengths");
      const std::uint8_t value = symbol == 16 ? lengths_[filled_ - 1] : 0;
      std::fill(lengths_ + filled_, lengths_ + filled_ + repeat, value);
      filled_ += repeat;
      Drop(used + extra);
    }
    if (lengths_[256] == 0) return Failed("block without an end code");
    if (!literalCode_.Build(lengths_, literalCount_) ||
        !distanceCode_.Build(lengths_ + literalCount_, distanceCount_))
      return Failed("invalid code lengths");
    literals_ = &literalCode_;
    distances_ = &distanceCode_;
    state_ = State::Codes;
    return Progress::Room;
  }

  Progress DecodeCodes() {
    std::uint8_t* window = window_.get();
    while (pos_ + LongestMatch <= WindowCapacity) {
      if (bitCount_ < 32) Refill();
      unsigned used = 0;
      if (state_ == State::Codes) {
        const int symbol = literals_->Decode(bits_, bitCount_, used);
        if (symbol < 256) {
          if (symbol < 0)
            return symbol == HuffmanCode::NeedBits ? Progress::NeedInput : Failed("invalid code");
          window[pos_++] = static_cast<std::uint8_t>(symbol);
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
        if (used + extra > bitCount_) return Progress::NeedInput;
        matchLength_ = LengthBase[index] + Peek(used, extra);
        Drop(used + extra);
        state_ = State::Distance;
        if (bitCount_ < 32) Refill();
      }
      const int symbol = distances_->Decode(bits_, bitCount_, used);
      if (symbol < 0)
        return symbol == HuffmanCode::NeedBits ? Progress::NeedInput : Failed("invalid distance code");
      const unsigned extra = DistanceExtra[symbol];
      if (used + extra > bitCount_) return Progress::NeedInput;
      const std::size_t distance = DistanceBase[symbol] + Peek(used, extra);
      Drop(used + extra);
      if (distance > pos_) return Failed("distance beyond the start of the data");
      CopyMatch(window, distance);
      state_ = State::Codes;
    }
    return Progress::Room;
  }

  void CopyMatch(std::uint8_t* window, std::size_t distance) {
    std::uint8_t* to = window + pos_;
    const std::uint8_t* from = to - distance;
    if (distance >= matchLength_) {
      std::memcpy(to, from, matchLength_);
    } else {
      for (std::size_t i = 0; i < matchLength_; ++i) to[i] = from[i];
    }
    pos_ += matchLength_;
  }

  // Left unfilled: a match reaches back no further than pos_, so no byte is read before it is
  // written.
  std::unique_ptr<std::uint8_t[]> window_;
  std::size_t pos_ = 0;        // end of the decoded bytes in window_
  std::size_t delivered_ = 0;  // end of the bytes handed out
  std::uint64_t bits_ = 0;
  unsigned bitCount_ = 0;
  State state_ = State::Header;
  bool final_ = false;
  std::size_t storedLeft_ = 0;
  std::size_t literalCount_ = 0, distanceCount_ = 0, codeLengthCount_ = 0, filled_ = 0;
  std::size_t matchLength_ = 0;
  std::uint8_t lengths_[288 + 32] = {};
  HuffmanCode codeLengthCode_, literalCode_, distanceCode_, fixedLiterals_, fixedDistances_;
  const HuffmanCode* literals_ = nullptr;
  const HuffmanCode* distances_ = nullptr;
  bool fixedReady_ = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeflate64Decoder(EntrySource& source) {
  return std::make_unique<Deflate64Decoder>(source);
}
