// The texts of the component's messages: the table's text for an id, and its placeholders filled.
#include "zip/ZipText.h"

#include "zip/ZipMsg.h"

const char* const MissingMessageText =
    "The message table is probably not linked to the executable\nMissing String ID is: ";

std::string ZipMessageText(std::int32_t id) {
  const char* text = nullptr;
  if (FindMessageText(id, text)) return text;
  return MissingMessageText + std::to_string(id);
}

std::string FormatZipText(const std::string& format, std::initializer_list<ZipTextArg> args) {
  auto next = args.begin();
  std::string out;
  std::size_t i = 0;
  while (i < format.size()) {
    std::size_t length = 0;
    bool number = false;
    if (format.compare(i, 2, "%d") == 0) {
      length = 2;
      number = true;
    } else if (format.compare(i, 4, "%.1d") == 0) {
      length = 4;
      number = true;
    } else if (format.compare(i, 2, "%s") == 0) {
      length = 2;
    }
    if (length != 0 && next != args.end() && next->IsNumber == number) {
      out += (next++)->Text;
      i += length;
    } else {
      out += format[i++];
    }
  }
  return out;
}
