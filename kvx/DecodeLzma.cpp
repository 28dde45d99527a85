// LZMA (method 14: a 4-byte header, the properties, then a raw LZMA1 stream) and xz (method 95).
#include <lzma.h>

#include "kvx/Decoder.h"
#include "zipformat/ZipRecords.h"

namespace {

class LzmaStreamDecoder : public Decoder {
 public:
  using Decoder::Decoder;
  ~LzmaStreamDecoder() override { lzma_end(&FStream); }

 protected:
  Step Code(std::uint8_t* out, std::size_t cap, std::size_t& done) {
    FStream.next_in = FIn;
    FStream.avail_in = FInAvail;
    FStream.next_out = out;
    FStream.avail_out = cap;
    lzma_ret rc = lzma_code(&FStream, LZMA_RUN);
    FIn = FStream.next_in;
    FInAvail = FStream.avail_in;
    done += cap - FStream.avail_out;
    if (rc == LZMA_STREAM_END) return Step::End;
    if (rc == LZMA_OK || rc == LZMA_BUF_ERROR) return Step::Ok;
    if (rc == LZMA_MEM_ERROR || rc == LZMA_MEMLIMIT_ERROR) return Fail("dictionary too large");
    return Fail("invalid LZMA data");
  }

  lzma_stream FStream = LZMA_STREAM_INIT;
};

class XzDecoder : public LzmaStreamDecoder {
 public:
  explicit XzDecoder(EntrySource& source) : LzmaStreamDecoder(source) {
    FReady = lzma_stream_decoder(&FStream, DecoderMemoryLimit, 0) == LZMA_OK;
  }

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    return FReady ? Code(out, cap, done) : Fail("out of memory");
  }

 private:
  bool FReady = false;
};

// Turns the zip header into the 13-byte header of the stand-alone format and decodes with that.
class ZipLzmaDecoder : public LzmaStreamDecoder {
 public:
  ZipLzmaDecoder(EntrySource& source, bool endMarker, std::uint64_t size)
      : LzmaStreamDecoder(source), FSize(endMarker ? UINT64_MAX : size) {}

 protected:
  Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!FStarted) {
      Step s = Start();
      if (s != Step::Ok) return s;
    }
    return Code(out, cap, done);
  }

 private:
  Step Start() {
    // Two bytes of version, two of properties size, then the properties.
    const ByteReader r(FIn, FInAvail);
    const std::uint16_t propsSize = r.U16(2);
    if (r.Failed() || propsSize != 5 || FInAvail < 4u + propsSize) return Fail("invalid LZMA header");
    const std::uint8_t* props = FIn + 4;
    std::uint8_t header[13];
    for (int i = 0; i < 5; ++i) header[i] = props[i];
    for (int i = 0; i < 8; ++i) header[5 + i] = static_cast<std::uint8_t>(FSize >> (8 * i));
    if (lzma_alone_decoder(&FStream, DecoderMemoryLimit) != LZMA_OK) return Fail("out of memory");
    FStarted = true;
    FIn += 4 + propsSize;
    FInAvail -= 4 + propsSize;
    // The decoder reads its header only when it also has room for output.
    std::uint8_t none = 0;
    FStream.next_in = header;
    FStream.avail_in = sizeof header;
    FStream.next_out = &none;
    FStream.avail_out = 1;
    lzma_ret rc = lzma_code(&FStream, LZMA_RUN);
    if (rc != LZMA_OK || FStream.avail_in != 0 || FStream.avail_out != 1)
      return Fail(rc == LZMA_MEMLIMIT_ERROR || rc == LZMA_MEM_ERROR ? "dictionary too large"
                                                                    : "invalid LZMA header");
    return Step::Ok;
  }

  std::uint64_t FSize;
  bool FStarted = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeXzDecoder(EntrySource& source) {
  return std::make_unique<XzDecoder>(source);
}

std::unique_ptr<Decoder> MakeLzmaDecoder(EntrySource& source, bool endMarker, std::uint64_t size) {
  return std::make_unique<ZipLzmaDecoder>(source, endMarker, size);
}
