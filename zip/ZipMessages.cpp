// The component's message table lookup, its texts with placeholders, and how a message is shown
// and reported.
#include "classlib/Backend.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipText.h"

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

std::string TZipComponent::LoadMessageText(std::int32_t id, const std::string& fallback) const {
  const char* text = nullptr;
  return FindMessageText(id, text) ? std::string(text) : fallback;
}

void TZipComponent::ReportMessage(std::int32_t id, const std::string& extra) {
  ReportText(id, LoadMessageText(id, MissingMessageText + std::to_string(id)) + extra);
}

void TZipComponent::ReportText(std::int32_t id, const std::string& text) {
  FLastMessage = text;
  FLastErrorCode = id;
  if (!Unattended()) Backend().ShowMessage(text);
  if (OnMessage) OnMessage(this, 0, text);
}

void TZipComponent::ReportZipError(const EZipComponent& error) {
  const std::string text = error.Message();
  if (error.ShowToUser() && !Unattended()) Backend().ShowMessage(text);
  FLastErrorCode = error.MessageId();
  FLastMessage = text;
  if (OnMessage) OnMessage(this, 0, text);
}
