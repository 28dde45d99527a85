#include <bzlib.h>

#include "kvx/Decoder.h"

namespace {

class Bzip2Decoder : public Decoder {
 public:
  explicit Bzip2Decoder(EntrySource& source) : Decoder(source) {
    FReady = BZ2_bzDecompressInit(&FStream, 0, 0) == BZ_OK;
  }
  ~Bzip2Decoder() override {
    if (FReady) BZ2_bzDecompressEnd(&FStream);
  }

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!FReady) return Fail("out of memory");
    FStream.next_in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(FIn));
    FStream.avail_in = static_cast<unsigned>(FInAvail);
    FStream.next_out = reinterpret_cast<char*>(out);
    FStream.avail_out = static_cast<unsigned>(cap);
    int rc = BZ2_bzDecompress(&FStream);
    FIn = reinterpret_cast<const std::uint8_t*>(FStream.next_in);
    FInAvail = FStream.avail_in;
    done = cap - FStream.avail_out;
    if (rc == BZ_STREAM_END) return Step::End;
    if (rc == BZ_OK) return Step::Ok;
    return Fail(rc == BZ_MEM_ERROR ? "out of memory" : "invalid bzip2 data");
  }

 private:
  bz_stream FStream{};
  bool FReady = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeBzip2Decoder(EntrySource& source) {
  return std::make_unique<Bzip2Decoder>(source);
}
