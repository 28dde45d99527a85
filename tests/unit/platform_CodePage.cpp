#include <gtest/gtest.h>

#include "platform/CodePage.h"

TEST(CodePage, OemBytesBecomeUtf8) {
  EXPECT_EQ(OemCharToAnsi(0x84), "\xC3\xA4");  // ä
  EXPECT_EQ(OemCharToAnsi(0xE1), "\xC3\x9F");  // ß
  EXPECT_EQ(OemCharToAnsi(0x81), "\xC3\xBC");  // ü
  EXPECT_EQ(OemCharToAnsi(0xFF), "\xC2\xA0");  // no-break space
  EXPECT_EQ(OemCharToAnsi('A'), "A");
  for (int b = 0x80; b <= 0xFF; ++b) EXPECT_FALSE(OemCharToAnsi(static_cast<unsigned char>(b)).empty()) << b;
}

TEST(CodePage, CaseFoldingComparison) {
  EXPECT_EQ(CompareTextIgnoreCase("\xC3\x84rger.HTM", "\xC3\xA4rger.htm"), 0);  // Ärger
  EXPECT_EQ(CompareTextIgnoreCase("A\xCC\x88", "\xC3\xA4"), 0);                 // decomposed Ä
  EXPECT_NE(CompareTextIgnoreCase("index.htm", "index.html"), 0);
  EXPECT_LT(CompareTextIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(CompareTextIgnoreCase("ABD", "abc"), 0);
  EXPECT_NE(CompareTextIgnoreCase("a\xFF", "a"), 0);  // invalid bytes still count
}

TEST(CodePage, InvalidSequencesAreReplaced) {
  EXPECT_EQ(SanitizeUtf8("ok \xC3\xA4"), "ok \xC3\xA4");
  EXPECT_EQ(SanitizeUtf8("a\x84z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(SanitizeUtf8("\xC3"), "\xEF\xBF\xBD");
}
