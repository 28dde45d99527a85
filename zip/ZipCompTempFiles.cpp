// The output of a join: removing a file that stands in its way, and making a temporary name.
#include "classlib/Application.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "platform/ShellFileOp.h"
#include "platform/TempPath.h"
#include "zip/ZipComp.h"

std::int32_t TZipComponent::RemoveExistingFile(const std::string& fileName, DeleteOpts mode) {
  std::string name = fileName;
  if (name.find(PathDelim) == std::string::npos) name = GetCurrentDir() + PathDelim + name;
  // A last part of "*.*" would stand for the whole folder in the shell's operation.
  if (!FileExists(name) || ExtractFileName(name) == "*.*") return -1;

  std::string from = name;
  from.push_back('\0');  // the list ends with an empty name
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = Application.Handle();
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.pTo = nullptr;
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
  if (mode == htdAllowUndo) operation.fFlags |= FOF_ALLOWUNDO;
  return SHFileOperationA(&operation);
}

std::string TZipComponent::NewTempArchiveName(const std::string& prefix, const std::string& extension) {
  const std::string usedPrefix = prefix.empty() ? "zip" : prefix;
  const std::string usedExtension = extension.empty() ? ".zip" : extension;
  std::string folder;
  if (!TempDir().empty()) {
    SetTempDir(WithTrailingBackslash(TempDir()));
    folder = TempDir();
  } else {
    folder = PrivateTempFolder();
    if (folder.empty()) return std::string();
  }
  std::string created;
  if (GetTempFileNameA(folder.c_str(), usedPrefix.c_str(), 0, created) == 0) return std::string();
  // Only the unique name is wanted; whoever creates the output does so exclusively.
  DeleteFileA(created.c_str());
  return ChangeFileExt(created, usedExtension);
}
