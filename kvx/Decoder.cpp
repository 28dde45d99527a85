#include "kvx/Decoder.h"

#include <algorithm>
#include <cstring>

#include "zipformat/ZipRecords.h"

DecodeStatus Decoder::DecodeChunk(std::uint8_t* out, std::size_t cap, std::size_t& produced) {
  produced = 0;
  for (;;) {
    if (FInAvail == 0 && !FEof) {
      std::int64_t got = FSource.Read(FInput, InputSize);
      if (got < 0) {
        FError = "read error";
        return DecodeStatus::Error;
      }
      FIn = FInput;
      FInAvail = static_cast<std::size_t>(got);
      FEof = got == 0;
    }
    const std::uint8_t* before = FIn;
    std::size_t done = 0;
    Step step = RunMethod(out + produced, cap - produced, done);
    produced += done;
    if (step == Step::Error) return DecodeStatus::Error;
    if (step == Step::End) return DecodeStatus::End;
    if (produced > 0) return DecodeStatus::More;
    if (FIn == before && (FEof || FInAvail > 0)) {
      FError = FEof ? "unexpected end of data" : "data error";
      return DecodeStatus::Error;
    }
  }
}

namespace {

class StoredDecoder : public Decoder {
 public:
  using Decoder::Decoder;

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (FInAvail == 0 && FEof) return Step::End;
    done = std::min(cap, FInAvail);
    std::memcpy(out, FIn, done);
    FIn += done;
    FInAvail -= done;
    return Step::Ok;
  }
};

}  // namespace

bool IsSupportedMethod(std::uint16_t method) {
  return method == 0 || method == 8 || method == 9 || method == 12 || method == 14 || method == 93 ||
         method == 95;
}

std::unique_ptr<Decoder> MakeDecoder(std::uint16_t method, std::uint16_t flags, std::uint64_t size,
                                     EntrySource& source) {
  switch (method) {
    case 0:
      return std::make_unique<StoredDecoder>(source);
    case 8:
      return MakeDeflateDecoder(source);
    case 9:
      return MakeDeflate64Decoder(source);
    case 12:
      return MakeBzip2Decoder(source);
    case 14:
      return MakeLzmaDecoder(source, flags & FlagLzmaEndMarker, size);
    case 93:
      return MakeZstdDecoder(source);
    case 95:
      return MakeXzDecoder(source);
    default:
      return nullptr;
  }
}
