// The component set up for the terminal.
#include <cstdio>

#include "platform/Folders.h"
#include "tools/KvxTool.h"
#include "tools/SafeText.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

// Reports that leave the result usable.
bool IsWarning(std::int32_t id) {
  return id == MessageId::StructureWarning || id == MessageId::GarbageAtEnd ||
         id == MessageId::SalvagedEntries;
}

// A text of the library with the NUL bytes of names back in place: the library writes them "\x00",
// and the terminal shows them so again.
std::string WithNulRestored(std::string text) {
  for (std::size_t at = text.find("\\x00"); at != std::string::npos; at = text.find("\\x00", at + 1))
    text.replace(at, 4, 1, '\0');
  return text;
}

// A text of the component's own table on one line: its line breaks are layout, shown as one space.
std::string OnOneLine(std::string text) {
  std::string line;
  for (const char c : text) {
    const bool lineBreak = c == '\n' || c == '\r';
    if (!lineBreak)
      line += c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

ToolSession::ToolSession(TZipComponent& zip) {
  zip.SetUnattended(true);
  // The per-entry "Copying: " lines of a join are progress, not reports.
  zip.OnMessage = [this, &zip, copying = zip.LoadMessageText(MessageId::CopyingFile, "Copying: ")](
                      TObject*, std::int32_t errCode, const std::string& message) {
    if (errCode == 0 && message.compare(0, copying.size(), copying) == 0) return;
    // The component's own reports come with code 0; their id is in LastErrorCode. The library's
    // come with its code, their names made "\" by the component like every text of the library.
    const std::int32_t id = errCode != 0 ? errCode : zip.LastErrorCode();
    const std::string text = errCode != 0 ? ShownName(WithNulRestored(message)) : OnOneLine(message);
    std::fprintf(stderr, "kvxtool: %d: %s\n", static_cast<int>(id), TerminalText(text).c_str());
    // The component does not say which file of a set is missing; the volume it looked for is.
    if (errCode == 0 && id == MessageId::InputFileMissing && !zip.Volume().VolumeFileName().empty() &&
        !FileExists(zip.Volume().VolumeFileName()))
      std::fprintf(stderr, "kvxtool: missing file: %s\n",
                   TerminalText(zip.Volume().VolumeFileName()).c_str());
    if (!IsWarning(id)) ErrorReported = true;
  };
}
