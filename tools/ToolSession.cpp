// The component set up for the terminal.
#include <cstdio>

#include "platform/CodePage.h"
#include "tools/KvxTool.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

// Reports that leave the result usable.
bool IsWarning(std::int32_t id) {
  return id == LI_WrongZipStruct || id == LI_GarbageAtEOF;
}

}  // namespace

ToolSession::ToolSession(TZipComponent& zip) {
  zip.SetUnattended(true);
  zip.OnMessage = [this, &zip](TObject*, std::int32_t errCode, const std::string& message) {
    // The component's own reports come with code 0; their id is in LastErrorCode.
    const std::int32_t id = errCode != 0 ? errCode : zip.LastErrorCode;
    std::fprintf(stderr, "kvxtool: %d: %s\n", static_cast<int>(id), SanitizeUtf8(message).c_str());
    if (!IsWarning(id)) ErrorReported = true;
  };
}
