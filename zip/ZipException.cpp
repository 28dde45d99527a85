// EZipComponent: a message id turned into its text, with at most one value filled in.
#include "zip/ZipException.h"

#include "zip/ZipMsg.h"
#include "zip/ZipText.h"

namespace {

// The id's text with the value put into its first placeholder of the value's kind.
std::string TextWith(std::int32_t id, const ZipTextArg& value) {
  return FormatZipText(ZipMessageText(id), {value});
}

}  // namespace

EZipComponent::EZipComponent(std::int32_t id, bool showToUser)
    : Exception(ZipMessageText(id)), FShowToUser(showToUser), FMessageId(id) {}

EZipComponent::EZipComponent(std::int32_t id, std::int32_t argument)
    : Exception(TextWith(id, ZipTextArg(static_cast<std::int64_t>(argument)))),
      FShowToUser(true),
      FMessageId(id) {}

EZipComponent::EZipComponent(std::int32_t id, const std::string& argument)
    : Exception(TextWith(id, ZipTextArg(argument))), FShowToUser(true), FMessageId(id) {}
