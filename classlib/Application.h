#pragma once
// The application object: title, message processing on request, the default error report.
#include <exception>
#include <string>

class TApplication {
 public:
  std::string Title;
  void ProcessMessages();
  void* Handle();
  // Shows the error in a modal box: Title as caption, error icon, OK. The text is the message
  // with a full stop added unless it already ends in a character at or below ".".
  void ShowException(const std::exception& error);
  // Runs a handler; an exception escaping it is shown by ShowException.
  template <typename F>
  void Guard(F&& handler) {
    try {
      handler();
    } catch (const std::exception& e) {
      ShowException(e);
    }
  }
};

extern TApplication Application;

// The text the default error report shows for a message.
std::string ErrorReportText(const std::string& message);

// The screen cursor, through the backend. Busy requests nest: each crHourGlass is ended by one
// crDefault, and the cursor is the ordinary one again once all are.
enum TCursor { crDefault, crHourGlass };
void SetScreenCursor(TCursor cursor);
