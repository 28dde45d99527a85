// How the component's messages are shown and reported.
#include "classlib/Backend.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"
#include "zip/ZipText.h"

std::string TZipComponent::LoadMessageText(std::int32_t id, const std::string& fallback) const {
  const char* text = nullptr;
  return FindMessageText(id, text) ? std::string(text) : fallback;
}

void TZipComponent::ReportMessage(std::int32_t id, const std::string& extra) {
  ReportText(id, ZipMessageText(id) + extra);
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
