#pragma once
// Decoders of the compression methods, each pulling from an EntrySource through a fixed buffer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "kvx/EntrySource.h"

enum class DecodeStatus { More, End, Error };

class Decoder {
 public:
  explicit Decoder(EntrySource& source) : FSource(source) {}
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
  virtual ~Decoder() = default;

  // Puts up to cap bytes into out (produced says how many). More: call again; End: the stream is
  // complete and all of it delivered; Error: see ErrorText.
  DecodeStatus DecodeChunk(std::uint8_t* out, std::size_t cap, std::size_t& produced);
  const std::string& ErrorText() const { return FError; }

 protected:
  enum class Step { Ok, End, Error };
  // Consumes from FIn/FInAvail and writes at most cap bytes to out, adding to done.
  virtual Step RunMethod(std::uint8_t* out, std::size_t cap, std::size_t& done) = 0;
  Step Fail(const char* text) {
    FError = text;
    return Step::Error;
  }

  static constexpr std::size_t InputSize = 64 * 1024;
  const std::uint8_t* FIn = FInput;
  std::size_t FInAvail = 0;
  bool FEof = false;  // the source has no more bytes

 private:
  EntrySource& FSource;
  std::uint8_t FInput[InputSize];
  std::string FError;
};

// Memory ceiling for the dictionaries of LZMA, xz and zstd streams.
constexpr std::uint64_t DecoderMemoryLimit = 256ull << 20;

bool IsSupportedMethod(std::uint16_t method);
// Null for an unsupported method; a decoder that failed to start reports it on the first DecodeChunk.
std::unique_ptr<Decoder> MakeDecoder(std::uint16_t method, std::uint16_t flags, std::uint64_t size,
                                     EntrySource& source);

std::unique_ptr<Decoder> MakeDeflateDecoder(EntrySource& source);
std::unique_ptr<Decoder> MakeDeflate64Decoder(EntrySource& source);
std::unique_ptr<Decoder> MakeBzip2Decoder(EntrySource& source);
std::unique_ptr<Decoder> MakeLzmaDecoder(EntrySource& source, bool endMarker, std::uint64_t size);
std::unique_ptr<Decoder> MakeXzDecoder(EntrySource& source);
std::unique_ptr<Decoder> MakeZstdDecoder(EntrySource& source);
