#pragma once
// The shell's file operation, reduced to what the program asks of it: recursive deletion.
#include <string>

#include "platform/Win32Types.h"

constexpr UINT FO_DELETE = 3;
constexpr WORD FOF_SILENT = 0x0004;
constexpr WORD FOF_NOCONFIRMATION = 0x0010;
constexpr WORD FOF_ALLOWUNDO = 0x0040;
constexpr WORD FOF_NOERRORUI = 0x0400;

struct SHFILEOPSTRUCTA {
  HWND hwnd;
  UINT wFunc;
  LPCSTR pFrom;  // list of names, each NUL-terminated, ended by an empty name
  LPCSTR pTo;
  WORD fFlags;
  BOOL fAnyOperationsAborted;
  void* hNameMappings;
  LPCSTR lpszProgressTitle;
};

// FO_DELETE: every name of pFrom is deleted; a last part "*.*" stands for every entry of its
// folder. Folders go with their contents; symbolic links are removed, never followed.
// FOF_ALLOWUNDO sends each name to the desktop trash instead. Returns 0 when all went.
int SHFileOperationA(SHFILEOPSTRUCTA* operation);

// Deletes everything in folder, however deep the tree: a few handles open at a time, links removed
// and never followed, nothing on another file system touched. The folder itself stays (and must be
// no link). Returns 0 or the first errno met.
int DeleteFolderContents(const std::string& folder);
