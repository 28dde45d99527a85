#pragma once
// What the reader keeps between runs, as the window uses it: the issues opened last, and the place
// in each issue read (the page shown and its zoom), in the state folder (StateFolder.h).
#include <optional>
#include <string>

#include "app/core/IssueIdentity.h"
#include "app/core/KeptPlaces.h"
#include "app/core/RecentIssues.h"

class TReaderMemory {
 public:
  // Reads what the state folder keeps ("" keeps everything for this run only).
  explicit TReaderMemory(const std::string& stateFolder);

  TRecentIssues& Recent() { return FRecent; }
  // A new issue is on screen: the file whose directory the component holds. It goes to the top of
  // the recent issues; the place kept in it, when there is one, is given back.
  std::optional<TKeptPlace> IssueShown(const std::string& fileName, const TZipComponent& zip);
  // The reader leaves the issue on screen at that address (a path in the working folder) and zoom:
  // kept, unless it is one of the reader's own pages that are written anew when asked for.
  void Leave(const std::string& address, double zoom);

 private:
  TRecentIssues FRecent;
  TKeptPlaces FPlaces;
  std::optional<TIssueIdentity> FShown;  // the issue on screen
};
