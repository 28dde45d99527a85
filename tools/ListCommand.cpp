// kvxtool list [--json] [--salvage] ARCHIVE
#include <cstdio>

#include "platform/Folders.h"
#include "tools/KvxTool.h"
#include "tools/ListOutput.h"
#include "tools/SafeText.h"
#include "tools/TerminalBackend.h"
#include "zip/ZipComp.h"
#include "zip/ZipMsg.h"

namespace {

int Usage(const std::string& problem) {
  std::fprintf(stderr, "kvxtool: %s\nusage: kvxtool list [--json] [--salvage] ARCHIVE\n",
               TerminalText(problem).c_str());
  return 2;
}

}  // namespace

int RunList(const ToolArgs& args) {
  bool json = false;
  bool salvage = false;
  bool optionsDone = false;
  std::string archive;
  for (const std::string& a : args) {
    if (!optionsDone && a == "--json") {
      json = true;
    } else if (!optionsDone && a == "--salvage") {
      salvage = true;
    } else if (!optionsDone && a == "--") {
      optionsDone = true;
    } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
      return Usage("unknown option " + a);
    } else if (archive.empty()) {
      archive = a;
    } else {
      return Usage("list takes one archive");
    }
  }
  if (archive.empty()) return Usage("list needs an archive");

  TTerminalBackend terminal;
  TBackendScope backendScope(terminal);
  TZipComponent zip(nullptr);
  ToolSession session(zip);
  // Disks of a labelled set are asked for on the terminal; without one the prompt cancels.
  zip.SetUnattended(false);
  ListResult result;
  auto print = zip.OnMessage;
  zip.OnMessage = [&](TObject* sender, std::int32_t errCode, const std::string& message) {
    print(sender, errCode, message);
    result.messages.push_back({errCode != 0 ? errCode : zip.LastErrorCode(), message});
  };
  zip.OnNewName = [&](TObject*, std::int32_t seqNo, const ZipDirEntry&) { result.seqNos.push_back(seqNo); };
  // The component passes over a missing file in silence; a command line should not.
  std::string repaired;
  if (!FileExists(archive))
    zip.ReportMessage(MessageId::InputFileMissing, "");
  else if (!salvage)
    zip.SetZipFileName(archive);
  else if (zip.Salvage(archive, repaired) == 0)
    zip.SetZipFileName(repaired);

  if (json)
    PrintListJson(zip, result);
  else
    PrintListTable(zip, result);
  if (!repaired.empty()) DeleteFileA(repaired.c_str());
  return session.ErrorReported ? 1 : 0;
}
