#pragma once
// The main unit's shared statics: the temp-path buffer, the deletion pattern and the clean-up
// request, with the start-up and refill steps that fill them.
#include <string>

#include "platform/ShellFileOp.h"

// 51 characters; refilled by every handler that builds a path.
extern char TempPathBuffer[51];
extern SHFILEOPSTRUCTA CleanupRequest;

// Refills the buffer with GetTempPathA(50, ...). A temporary folder whose path does not fit is
// replaced by the private folder in fallbackBase; when neither can be had the buffer keeps its text.
void RefillTempPath(const std::string& fallbackBase = "/tmp");
// The buffer's text up to its first NUL.
std::string TempPath();
// "<temp>KORVEX" and a file inside it.
std::string WorkingFolder();
std::string WorkingFile(const std::string& name);
// The name of a file inside the working folder relative to it, "" for a path outside it.
std::string WorkingFileName(const std::string& path);

// The program's own pages in the working folder: the start page, the links page, the contents
// page shown for an issue without index.htm and the results page of a search of the issue.
extern const char* const StartPageName;
extern const char* const LinksPageName;
extern const char* const ContentsPageName;
extern const char* const SearchPageName;

// "<temp>KORVEX-next": a new issue is unpacked there, beside the one on screen, and trades places
// with the working folder once it has something to show.
std::string UnpackingFolder();
// Whether the path names something inside the working folder or the unpacking folder.
bool InsideWorkingFolder(const std::string& path);
// Removes the folder with everything in it, however deep; links are removed, never followed.
// Failures are ignored.
void RemoveFolderTree(const std::string& folder);

// The close sequence's clean-up: everything under "<temp>KORVEX" deleted through the clean-up
// request, then "<temp>" made current and "KORVEX" removed; results ignored. An issue that was
// being unpacked goes too.
void RemoveWorkingFolder();

// The main unit's initialisation: refills the buffer and points pFrom at "<temp>KORVEX/*.*"
// followed by two NULs. Returns false when there is no private temporary folder.
bool InitializeMainUnit();
// The main unit's finalisation: releases the pattern.
void FinalizeMainUnit();
