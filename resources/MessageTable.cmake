# Turns messages.txt (id, tab, text; "\n" a line feed) into the table built into the program.
# Run as a script: cmake -DINPUT=messages.txt -DOUTPUT=MessageTable.cpp -P MessageTable.cmake
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(body "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9]+)\t(.*)$")
    message(FATAL_ERROR "messages.txt: bad line: ${line}")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(text "${CMAKE_MATCH_2}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(APPEND body "    {${id}, \"${text}\"},\n")
endforeach()
file(WRITE "${OUTPUT}" "// Generated from resources/messages.txt.
#include <algorithm>
#include <iterator>

struct MessageTableEntry {
  int id;
  const char* text;
};

static const MessageTableEntry MessageTable[] = {
${body}};

bool FindMessageText(int id, const char*& text) {
  auto it = std::find_if(std::begin(MessageTable), std::end(MessageTable),
                         [id](const MessageTableEntry& e) { return e.id == id; });
  if (it == std::end(MessageTable)) return false;
  text = it->text;
  return true;
}
")
