#pragma once
// Code pages: the ANSI code page is UTF-8, the OEM code page is 437.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// One OEM byte as UTF-8 (bytes below 128 come back unchanged).
std::string OemCharToAnsi(unsigned char oemByte);
// A name in code page 932 (Shift-JIS) as UTF-8, when one of its 0x5C bytes is the second byte of
// a two-byte character (0x95 0x5C is one character, not half of one and a backslash) and the whole
// name reads in that code page; nothing otherwise.
std::optional<std::string> TwoByteNameToUtf8(std::string_view raw);
// Case-insensitive comparison by Unicode case folding of UTF-8 texts; 0 when equal.
int CompareTextIgnoreCase(const std::string& a, const std::string& b);
// The key by which CompareTextIgnoreCase compares: equal keys, equal texts.
std::string CaseFoldedText(const std::string& text);
// Invalid UTF-8 sequences replaced by U+FFFD.
std::string SanitizeUtf8(const std::string& text);
// The first count characters of a UTF-8 text; a character is never split.
std::string FirstCharacters(const std::string& text, std::size_t count);
// Length of the well-formed UTF-8 sequence at text[at] (no overlong forms, no surrogates, nothing
// above U+10FFFF) and its code point; 0 when the byte there starts none.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t at, char32_t& code);
// Whether the whole text is well-formed UTF-8 by the rule of Utf8SequenceAt.
bool IsValidUtf8(std::string_view text);
