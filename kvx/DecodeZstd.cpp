#include <zstd.h>

#include "kvx/Decoder.h"

namespace {

class ZstdDecoder : public Decoder {
 public:
  explicit ZstdDecoder(EntrySource& source) : Decoder(source), FCtx(ZSTD_createDCtx()) {
    // Windows beyond 2^27 (128 MiB) are refused rather than allocated.
    if (FCtx) ZSTD_DCtx_setParameter(FCtx, ZSTD_d_windowLogMax, 27);
  }
  ~ZstdDecoder() override { ZSTD_freeDCtx(FCtx); }

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!FCtx) return Fail("out of memory");
    if (FInAvail == 0 && FEof) return FFrameDone ? Step::End : Fail("unexpected end of data");
    ZSTD_inBuffer in{FIn, FInAvail, 0};
    ZSTD_outBuffer o{out, cap, 0};
    std::size_t rc = ZSTD_decompressStream(FCtx, &o, &in);
    if (ZSTD_isError(rc)) return Fail("invalid zstd data");
    FIn += in.pos;
    FInAvail -= in.pos;
    done = o.pos;
    FFrameDone = rc == 0;
    return Step::Ok;
  }

 private:
  ZSTD_DCtx* FCtx;
  bool FFrameDone = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeZstdDecoder(EntrySource& source) {
  return std::make_unique<ZstdDecoder>(source);
}
