#include <zstd.h>

#include "kvx/Decoder.h"

namespace {

class ZstdDecoder : public Decoder {
 public:
  explicit ZstdDecoder(EntrySource& source) : Decoder(source), ctx_(ZSTD_createDCtx()) {
    // Windows beyond 2^27 (128 MiB) are refused rather than allocated.
    if (ctx_) ZSTD_DCtx_setParameter(ctx_, ZSTD_d_windowLogMax, 27);
  }
  ~ZstdDecoder() override { ZSTD_freeDCtx(ctx_); }

 protected:
  Step Run(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!ctx_) return Fail("out of memory");
    if (inAvail_ == 0 && eof_) return frameDone_ ? Step::End : Fail("unexpected end of data");
    ZSTD_inBuffer in{in_, inAvail_, 0};
    ZSTD_outBuffer o{out, cap, 0};
    std::size_t rc = ZSTD_decompressStream(ctx_, &o, &in);
    if (ZSTD_isError(rc)) return Fail("invalid zstd data");
    in_ += in.pos;
    inAvail_ -= in.pos;
    done = o.pos;
    frameDone_ = rc == 0;
    return Step::Ok;
  }

 private:
  ZSTD_DCtx* ctx_;
  bool frameDone_ = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeZstdDecoder(EntrySource& source) {
  return std::make_unique<ZstdDecoder>(source);
}
