#pragma once
// The issues opened last, most recent first, each by its full path; kept between runs in the state
// folder (file "recent-issues"). The file is read as untrusted: lines that are no plain absolute
// path are dropped, and so is a file too large or without its first line.
#include <cstddef>
#include <string>
#include <vector>

// One item of the File menu.
struct TRecentMenuEntry {
  std::string label;    // "&1 name.kvx": the number as mnemonic, the file's name with "&" doubled
  std::string tooltip;  // the full path
  std::string path;
};

// What choosing an entry gives: the issue to open, or the text telling why it is gone.
struct TRecentChoice {
  std::string path;     // "" when there is nothing to open
  std::string message;  // "" when all is well
};

class TRecentIssues {
 public:
  static constexpr std::size_t MaxCount = 8;

  // folder: the state folder ("" keeps the list for this run only).
  explicit TRecentIssues(std::string folder);

  // Reads the list kept; a damaged file gives what it holds of sound entries, or nothing.
  void Load();
  // The issue was opened: it goes to the top (a relative path is taken from the current folder).
  // A path that cannot be kept (a control character, not UTF-8) is left out.
  void Opened(const std::string& fileName);
  void Remove(const std::string& path);
  void Clear();

  const std::vector<std::string>& Paths() const { return FPaths; }
  std::vector<TRecentMenuEntry> MenuEntries() const;
  // The entry numbered 1..8 in the menu: its path, or, when the file is no longer there, the entry
  // removed and the text to tell it.
  TRecentChoice Choose(std::size_t number);

 private:
  void Save() const;

  std::string FFolder;
  std::vector<std::string> FPaths;
};

// "&" doubled, so a menu shows it instead of taking it as a mnemonic.
std::string MenuLabelText(const std::string& text);
