#pragma once
// Filling the placeholders of a message table text without printf: "%d" and "%.1d" take an
// integer, "%s" a string. Placeholders are filled left to right with the values in order; one
// whose kind does not match the next value, or for which no value is left, stays as written.
#include <cstdint>
#include <initializer_list>
#include <string>

struct ZipTextArg {
  ZipTextArg(std::int64_t value) : IsNumber(true), Text(std::to_string(value)) {}
  ZipTextArg(const std::string& value) : IsNumber(false), Text(value) {}
  ZipTextArg(const char* value) : IsNumber(false), Text(value) {}
  bool IsNumber;
  std::string Text;
};

std::string FormatZipText(const std::string& format, std::initializer_list<ZipTextArg> args);

// The table's text for the id, or the missing-message text followed by the id.
std::string ZipMessageText(std::int32_t id);
