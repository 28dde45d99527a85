// LZMA (method 14: a 4-byte header, the properties, then a raw LZMA1 stream) and xz (method 95).
#include <lzma.h>

#include "kvx/Decoder.h"
#include "zip/records/ZipRecords.h"

namespace {

class LzmaStreamDecoder : public Decoder {
 public:
  using Decoder::Decoder;
  ~LzmaStreamDecoder() override { lzma_end(&s_); }

 protected:
  Step Code(std::uint8_t* out, std::size_t cap, std::size_t& done) {
    s_.next_in = in_;
    s_.avail_in = inAvail_;
    s_.next_out = out;
    s_.avail_out = cap;
    lzma_ret rc = lzma_code(&s_, LZMA_RUN);
    in_ = s_.next_in;
    inAvail_ = s_.avail_in;
    done += cap - s_.avail_out;
    if (rc == LZMA_STREAM_END) return Step::End;
    if (rc == LZMA_OK || rc == LZMA_BUF_ERROR) return Step::Ok;
    if (rc == LZMA_MEM_ERROR || rc == LZMA_MEMLIMIT_ERROR) return Fail("dictionary too large");
    return Fail("invalid LZMA data");
  }

  lzma_stream s_ = LZMA_STREAM_INIT;
};

class XzDecoder : public LzmaStreamDecoder {
 public:
  explicit XzDecoder(EntrySource& source) : LzmaStreamDecoder(source) {
    ready_ = lzma_stream_decoder(&s_, DecoderMemoryLimit, 0) == LZMA_OK;
  }

 protected:
  Step Run(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    return ready_ ? Code(out, cap, done) : Fail("out of memory");
  }

 private:
  bool ready_ = false;
};

// Turns the zip header into the 13-byte header of the stand-alone format and decodes with that.
class ZipLzmaDecoder : public LzmaStreamDecoder {
 public:
  ZipLzmaDecoder(EntrySource& source, bool endMarker, std::uint64_t size)
      : LzmaStreamDecoder(source), size_(endMarker ? UINT64_MAX : size) {}

 protected:
  Step Run(std::uint8_t* out, std::size_t cap, std::size_t& done) override {
    if (!started_) {
      Step s = Start();
      if (s != Step::Ok) return s;
    }
    return Code(out, cap, done);
  }

 private:
  Step Start() {
    // Two bytes of version, two of properties size, then the properties.
    const ByteReader r(in_, inAvail_);
    const std::uint16_t propsSize = r.U16(2);
    if (r.Failed() || propsSize != 5 || inAvail_ < 4u + propsSize) return Fail("invalid LZMA header");
    const std::uint8_t* props = in_ + 4;
    std::uint8_t header[13];
    for (int i = 0; i < 5; ++i) header[i] = props[i];
    for (int i = 0; i < 8; ++i) header[5 + i] = static_cast<std::uint8_t>(size_ >> (8 * i));
    if (lzma_alone_decoder(&s_, DecoderMemoryLimit) != LZMA_OK) return Fail("out of memory");
    started_ = true;
    in_ += 4 + propsSize;
    inAvail_ -= 4 + propsSize;
    // The decoder reads its header only when it also has room for output.
    std::uint8_t none = 0;
    s_.next_in = header;
    s_.avail_in = sizeof header;
    s_.next_out = &none;
    s_.avail_out = 1;
    lzma_ret rc = lzma_code(&s_, LZMA_RUN);
    if (rc != LZMA_OK || s_.avail_in != 0 || s_.avail_out != 1)
      return Fail(rc == LZMA_MEMLIMIT_ERROR || rc == LZMA_MEM_ERROR ? "dictionary too large"
                                                                    : "invalid LZMA header");
    return Step::Ok;
  }

  std::uint64_t size_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeXzDecoder(EntrySource& source) {
  return std::make_unique<XzDecoder>(source);
}

std::unique_ptr<Decoder> MakeLzmaDecoder(EntrySource& source, bool endMarker, std::uint64_t size) {
  return std::make_unique<ZipLzmaDecoder>(source, endMarker, size);
}
