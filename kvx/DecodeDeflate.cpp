#include <zlib.h>

#include "kvx/Decoder.h"

namespace {

class DeflateDecoder : public Decoder {
 public:
  explicit DeflateDecoder(EntrySource& source) : Decoder(source) {
    FReady = inflateInit2(&FStream, -MAX_WBITS) == Z_OK;
  }
  ~DeflateDecoder() override {
    if (FReady) inflateEnd(&FStream);
  }

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!FReady) return Fail("out of memory");
    FStream.next_in = const_cast<Bytef*>(FIn);
    FStream.avail_in = static_cast<uInt>(FInAvail);
    FStream.next_out = out;
    FStream.avail_out = static_cast<uInt>(cap);
    int rc = inflate(&FStream, Z_NO_FLUSH);
    FIn = FStream.next_in;
    FInAvail = FStream.avail_in;
    done = cap - FStream.avail_out;
    if (rc == Z_STREAM_END) return Step::End;
    if (rc == Z_OK || rc == Z_BUF_ERROR) return Step::Ok;
    return Fail(rc == Z_MEM_ERROR ? "out of memory" : "invalid deflate data");
  }

 private:
  z_stream FStream{};
  bool FReady = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeflateDecoder(EntrySource& source) {
  return std::make_unique<DeflateDecoder>(source);
}
