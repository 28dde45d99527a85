// What kvxtool prints of a name: well-formed UTF-8 only, nothing that steers the terminal.
#include <gtest/gtest.h>

#include "tools/SafeText.h"

TEST(SafeText, MalformedUtf8IsEscapedByteByByte) {
  EXPECT_EQ(TerminalText("ok \xC3\xA4 \xF0\x9F\x99\x82"), "ok \xC3\xA4 \xF0\x9F\x99\x82");
  EXPECT_EQ(TerminalText("\xC0\xAF"), "\\xc0\\xaf");                    // overlong "/"
  EXPECT_EQ(TerminalText("\xED\xA0\x80"), "\\xed\\xa0\\x80");           // a surrogate
  EXPECT_EQ(TerminalText("\xF4\x90\x80\x80"), "\\xf4\\x90\\x80\\x80");  // above U+10FFFF
  EXPECT_EQ(TerminalText("\xE2\x80"), "\\xe2\\x80");                    // cut short
  EXPECT_EQ(JsonString("a\xFF\"\\"), "\"a\xEF\xBF\xBD\\\"\\\\\"");
}

TEST(SafeText, ControlsAndBidiAreEscaped) {
  EXPECT_EQ(TerminalText(std::string("\0\x1b\x7f\\", 4)), "\\x00\\x1b\\x7f\\\\");
  EXPECT_EQ(TerminalText("\xC2\x9B\xE2\x80\xAE\xE2\x81\xA6\xE2\x80\xA8"), "\\u009b\\u202e\\u2066\\u2028");
  EXPECT_EQ(JsonString("\x1b\xC2\x9B\xE2\x80\xAE"), "\"\\u001b\\u009b\\u202e\"");
}
