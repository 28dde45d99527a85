#pragma once
// The text a reader sees on a page of an issue, for the search: markup, scripts, styles and
// comments left out, character references decoded, white space collapsed, in UTF-8 whatever the
// page's encoding.
#include <string>

struct TPageText {
  std::string title;  // the first <title>'s text, "" when it has none
  std::string text;
};

TPageText PageText(const std::string& pageBytes);
