#include <bzlib.h>

#include "kvx/Decoder.h"

namespace {

class Bzip2Decoder : public Decoder {
 public:
  explicit Bzip2Decoder(EntrySource& source) : Decoder(source) {
    ready_ = BZ2_bzDecompressInit(&bz_, 0, 0) == BZ_OK;
  }
  ~Bzip2Decoder() override {
    if (ready_) BZ2_bzDecompressEnd(&bz_);
  }

 protected:
  Step Run(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!ready_) return Fail("out of memory");
    bz_.next_in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(in_));
    bz_.avail_in = static_cast<unsigned>(inAvail_);
    bz_.next_out = reinterpret_cast<char*>(out);
    bz_.avail_out = static_cast<unsigned>(cap);
    int rc = BZ2_bzDecompress(&bz_);
    in_ = reinterpret_cast<const std::uint8_t*>(bz_.next_in);
    inAvail_ = bz_.avail_in;
    done = cap - bz_.avail_out;
    if (rc == BZ_STREAM_END) return Step::End;
    if (rc == BZ_OK) return Step::Ok;
    return Fail(rc == BZ_MEM_ERROR ? "out of memory" : "invalid bzip2 data");
  }

 private:
  bz_stream bz_{};
  bool ready_ = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeBzip2Decoder(EntrySource& source) {
  return std::make_unique<Bzip2Decoder>(source);
}
