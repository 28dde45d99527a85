// The component set up for the terminal.
#include <cstdio>

#include "platform/CodePage.h"
#include "tools/KvxTool.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

// Reports that leave the result usable.
bool IsWarning(std::int32_t id) {
  return id == MessageId::StructureWarning || id == MessageId::GarbageAtEnd;
}

}  // namespace

ToolSession::ToolSession(TZipComponent& zip) {
  zip.SetUnattended(true);
  // The per-entry "Copying: " lines of a join are progress, not reports.
  zip.OnMessage = [this, &zip, copying = zip.LoadMessageText(MessageId::CopyingFile, "Copying: ")](
                      TObject*, std::int32_t errCode, const std::string& message) {
    if (errCode == 0 && message.compare(0, copying.size(), copying) == 0) return;
    // The component's own reports come with code 0; their id is in LastErrorCode.
    const std::int32_t id = errCode != 0 ? errCode : zip.LastErrorCode;
    std::fprintf(stderr, "kvxtool: %d: %s\n", static_cast<int>(id), SanitizeUtf8(message).c_str());
    if (!IsWarning(id)) ErrorReported = true;
  };
}
