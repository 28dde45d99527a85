#include "kvx/EntryName.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "zipformat/ZipRecords.h"

std::string EntryNameToUtf8(const std::string& raw, std::uint16_t flags, std::uint8_t host,
                            std::uint8_t madeByVersion, const std::vector<std::uint8_t>& extra) {
  std::string name;
  if (flags & FlagUtf8) {
    name = raw;
  } else if (auto unicode = UnicodePathName(raw, extra.data(), extra.size())) {
    name = std::move(*unicode);
  } else if (auto twoByte = TwoByteNameToUtf8(raw)) {
    name = std::move(*twoByte);
  } else if (!IsOemText(host, madeByVersion)) {
    name = raw;
  } else {
    for (unsigned char c : raw) name += c < 0x80 ? std::string(1, static_cast<char>(c)) : OemCharToAnsi(c);
  }
  // A backslash separates folders whatever the host: the directory reader reads it so too.
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}
