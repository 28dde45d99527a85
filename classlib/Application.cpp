#include "classlib/Application.h"

#include "classlib/Backend.h"

TApplication Application;

void TApplication::ProcessMessages() {
  Backend().ProcessMessages();
}
void* TApplication::Handle() {
  return Backend().MainWindowHandle();
}

void TApplication::ShowException(const std::exception& error) {
  Backend().MessageBox(ErrorReportText(error.what()), Title, MB_OK | MB_ICONERROR);
}

// An empty message stays empty.
std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void SetScreenCursor(TCursor cursor) {
  Backend().SetBusyCursor(cursor == crHourGlass);
}
