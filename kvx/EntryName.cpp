#include "kvx/EntryName.h"

#include <zlib.h>

#include <algorithm>

#include "kvx/ByteReader.h"
#include "platform/CodePage.h"

namespace {

bool IsDosHost(std::uint8_t host) {
  return host == 0 || host == 6 || host == 11;
}

bool UnicodePathField(const std::string& raw, const std::vector<std::uint8_t>& extra, std::string& name) {
  ByteReader r(extra.data(), extra.size());
  while (r.Remaining() >= 4) {
    std::uint16_t id = r.U16();
    std::uint16_t len = r.U16();
    const std::uint8_t* data = r.Bytes(len);
    if (!data) return false;
    if (id != 0x7075 || len < 5 || data[0] != 1) continue;
    ByteReader f(data, len);
    f.U8();
    std::uint32_t crc = f.U32();
    uLong actual = crc32(0, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uInt>(raw.size()));
    if (crc != actual) continue;
    name.assign(reinterpret_cast<const char*>(data + 5), len - 5u);
    return IsValidUtf8(name);
  }
  return false;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t more = 0;
    if (c < 0x80)
      more = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      more = 1;
    else if ((c >> 4) == 0xE)
      more = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      more = 3;
    else
      return false;
    if (more > n - i - 1) return false;
    for (std::size_t k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
    i += more + 1;
  }
  return true;
}

std::string EntryNameToUtf8(const std::string& raw, std::uint16_t flags, std::uint8_t host,
                            const std::vector<std::uint8_t>& extra) {
  std::string name;
  if (flags & 0x0800) {
    name = raw;
  } else if (!UnicodePathField(raw, extra, name)) {
    if (!IsDosHost(host) && IsValidUtf8(raw)) {
      name = raw;
    } else {
      for (unsigned char c : raw) name += c < 0x80 ? std::string(1, static_cast<char>(c)) : OemCharToAnsi(c);
    }
  }
  if (IsDosHost(host)) std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}
