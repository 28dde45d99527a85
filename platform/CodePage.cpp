// OEM code page 437 to UTF-8, case folding, UTF-8 decoding and repair.
#include "platform/CodePage.h"

#include <glib.h>
#include <iconv.h>

#include <array>
#include <cstring>
#include <memory>

namespace {

using OemTable = std::array<std::string, 128>;

OemTable BuildOemTable() {
  OemTable table;
  iconv_t cd = iconv_open("UTF-8", "CP437");
  for (std::size_t i = 0; i < table.size(); ++i) {
    char in = static_cast<char>(0x80 + i);
    char out[8] = {};
    char* inPtr = &in;
    char* outPtr = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    if (cd != reinterpret_cast<iconv_t>(-1) &&
        iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1))
      table[i].assign(out, sizeof out - outLeft);
    else
      table[i] = "\xEF\xBF\xBD";
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return table;
}

struct GFreeDeleter {
  void operator()(gchar* p) const { g_free(p); }
};
using GText = std::unique_ptr<gchar, GFreeDeleter>;

GText FoldForComparison(const std::string& text) {
  const std::string valid = SanitizeUtf8(text);
  GText folded(g_utf8_casefold(valid.data(), static_cast<gssize>(valid.size())));
  return GText(g_utf8_normalize(folded.get(), -1, G_NORMALIZE_DEFAULT_COMPOSE));
}

bool Continuation(std::string_view text, std::size_t at, unsigned char low = 0x80,
                  unsigned char high = 0xBF) {
  if (at >= text.size()) return false;
  const auto byte = static_cast<unsigned char>(text[at]);
  return byte >= low && byte <= high;
}

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Whether some 0x5C of raw is the second byte of a two-byte character of code page 932.
bool HasCp932TrailBackslash(std::string_view raw) {
  for (std::size_t i = 0; i + 1 < raw.size(); ++i) {
    if (!IsCp932LeadByte(static_cast<unsigned char>(raw[i]))) continue;
    if (raw[i + 1] == '\\') return true;
    ++i;
  }
  return false;
}

}  // namespace

std::optional<std::string> TwoByteNameToUtf8(std::string_view raw) {
  if (!HasCp932TrailBackslash(raw)) return std::nullopt;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(raw);
  std::string out(in.size() * 3 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const bool whole = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!whole || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::string OemCharToAnsi(unsigned char oemByte) {
  if (oemByte < 0x80) return std::string(1, static_cast<char>(oemByte));
  static const OemTable table = BuildOemTable();
  return table[oemByte - 0x80];
}

int CompareTextIgnoreCase(const std::string& a, const std::string& b) {
  const GText fa = FoldForComparison(a);
  const GText fb = FoldForComparison(b);
  const int result = std::strcmp(fa.get(), fb.get());
  return (result > 0) - (result < 0);
}

std::string CaseFoldedText(const std::string& text) {
  return FoldForComparison(text).get();
}

std::string SanitizeUtf8(const std::string& text) {
  GText valid(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
  return std::string(valid.get());
}

std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size(); ++end) {
    const bool starts = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
    if (starts && seen++ == count) break;
  }
  return text.substr(0, end);
}

std::size_t Utf8SequenceAt(std::string_view text, std::size_t at, char32_t& code) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (!Continuation(text, at + 1, low, high)) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if (i > 1 && !Continuation(text, at + i)) return 0;
    code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3Fu);
  }
  return length;
}

bool IsValidUtf8(std::string_view text) {
  char32_t code = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceAt(text, at, code);
    if (length == 0) return false;
    at += length;
  }
  return true;
}
