#pragma once
// Folder and file-system calls with the contracts of their Win32 namesakes.
#include <string>
#include <vector>

#include "platform/Win32Types.h"

// Private per-user temporary folder with a trailing "/". Writes the path and its NUL into buffer
// and returns its length when it fits in bufferLength characters; otherwise writes nothing and
// returns the size needed, NUL included. Returns 0 when no private folder can be had.
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

BOOL CreateDirectoryA(LPCSTR path, void* securityAttributes);
BOOL RemoveDirectoryA(LPCSTR path);
BOOL SetCurrentDirectoryA(LPCSTR path);
std::string GetCurrentDir();
BOOL DeleteFileA(LPCSTR path);

bool FileExists(const std::string& name);              // a file, not a folder (links followed)
bool DirectoryExists(const std::string& name);         // a folder (links followed)
std::string ExpandFileName(const std::string& name);   // absolute, "." and ".." resolved lexically
std::string ExtractFileDir(const std::string& name);   // the part before the last delimiter
std::string ExtractFileName(const std::string& name);  // the part after the last delimiter
std::string ExtractFileExt(const std::string& name);   // from the last dot of the name part, or ""
std::string ChangeFileExt(const std::string& name, const std::string& ext);
bool EndsInDelimiter(const std::string& path);  // last character is "/" or "\"

// The names in a folder, "." and ".." left out; empty when it cannot be read.
std::vector<std::string> FolderEntryNames(const std::string& folder);
