#include <zlib.h>

#include "kvx/Decoder.h"

namespace {

class DeflateDecoder : public Decoder {
 public:
  explicit DeflateDecoder(EntrySource& source) : Decoder(source) {
    ready_ = inflateInit2(&z_, -MAX_WBITS) == Z_OK;
  }
  ~DeflateDecoder() override {
    if (ready_) inflateEnd(&z_);
  }

 protected:
  Step Run(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!ready_) return Fail("out of memory");
    z_.next_in = const_cast<Bytef*>(in_);
    z_.avail_in = static_cast<uInt>(inAvail_);
    z_.next_out = out;
    z_.avail_out = static_cast<uInt>(cap);
    int rc = inflate(&z_, Z_NO_FLUSH);
    in_ = z_.next_in;
    inAvail_ = z_.avail_in;
    done = cap - z_.avail_out;
    if (rc == Z_STREAM_END) return Step::End;
    if (rc == Z_OK || rc == Z_BUF_ERROR) return Step::Ok;
    return Fail(rc == Z_MEM_ERROR ? "out of memory" : "invalid deflate data");
  }

 private:
  z_stream z_{};
  bool ready_ = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeflateDecoder(EntrySource& source) {
  return std::make_unique<DeflateDecoder>(source);
}
