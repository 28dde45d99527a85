#pragma once
// The component's error: a message id, its text, and whether the catcher shows it.
#include <cstdint>
#include <string>

#include "classlib/Exceptions.h"

class EZipComponent : public Exception {
 public:
  EZipComponent(std::int32_t id, bool showToUser);
  EZipComponent(std::int32_t id, std::int32_t argument);        // "%d" in the text
  EZipComponent(std::int32_t id, const std::string& argument);  // "%s" in the text
  bool ShowToUser() const { return FShowToUser; }
  std::int32_t MessageId() const { return FMessageId; }

 private:
  bool FShowToUser;
  std::int32_t FMessageId;
};
