#pragma once
// What an issue unpacked into a folder holds for the reader: its pages, the page it opens at, and
// the names the reader keeps for pages of its own.
#include <string>
#include <vector>

// Entry names as the directory gives them ("/" or "\" between folders) in directory order; the
// results use "/".
using TEntryNames = std::vector<std::string>;

// The pages the directory lists (.htm, .html, in any case, at any depth), each once.
std::vector<std::string> ListedPages(const TEntryNames& names);
// Those of them that were unpacked into the folder as files.
std::vector<std::string> UnpackedPages(const std::string& folder, const TEntryNames& names);

// The page an issue opens at, relative to its folder: index.htm (in any case) at its top, or in its
// one top folder when nothing else lies at its top; "" when that page was not unpacked. The name is
// spelled "index.htm" whatever case the issue wrote it in.
std::string UnpackedIndex(const std::string& folder, const TEntryNames& names);

// Whether the directory holds an index.htm, in any case, at its top or in its one top folder.
bool ListsIndex(const TEntryNames& names);

// Removes whatever the issue put under the names of the reader's own pages at the folder's top,
// file or folder, and returns those names.
std::vector<std::string> RemoveReaderPageNames(const std::string& folder);
