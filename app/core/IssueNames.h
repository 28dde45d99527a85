#pragma once
// Names of the working folder's files as the pages of an issue ask for them. Issues are made where
// the file system ignores case, so a page may name "Articoli/PAGINA2.HTM" for "articoli/pagina2.htm".
#include <string>
#include <unordered_map>
#include <vector>

class TIssueNames {
 public:
  // A new issue was unpacked: every listing is dropped; names are its entries in archive order.
  void NewIssue(const std::vector<std::string>& archiveNames);
  // Counts the issues opened in this run; 0 before the first.
  unsigned Serial() const { return FSerial; }

  // The file or folder inside root that the relative name ("/" or "\" between parts) asks for,
  // "" when none. Folder by folder: the exact name when it exists; else the one entry equal to it
  // with case ignored (Unicode case folding); of several, the first in the issue's archive order,
  // entries the archive does not hold after those in byte order. "..", and symbolic links, are
  // never followed, so nothing outside root is reached.
  std::string Resolve(const std::string& root, const std::string& relative);

 private:
  // Folded name to the entry it stands for, per folder, until the next issue.
  using TListing = std::unordered_map<std::string, std::string>;
  const TListing& Listing(const std::string& folder, const std::string& relativeFolder);

  unsigned FSerial = 0;
  std::unordered_map<std::string, TListing> FListings;
  std::unordered_map<std::string, std::size_t> FArchiveOrder;  // relative name to its position
};

// The one instance the reader uses.
TIssueNames& IssueNames();
