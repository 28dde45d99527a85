#pragma once
// Which navigations of the page view are visits that the shell hears of. A page is a visit once its
// load starts in the view; the documents that load as part of it (its frames, theirs, an error page
// shown in its place) are not, so Back and Forward always reach the page before and after it. A
// link the user follows is a visit as soon as it is decided, whether it leads the page or one of its
// frames elsewhere: such a frame's document is then the entry Back and Forward come back to, shown
// as a page of its own.
#include <functional>
#include <string>
#include <vector>

class TPageVisits {
 public:
  std::function<void(const std::string& uri)> OnVisit;

  // A navigation the rules let through, of the page or of a frame; followedLink when it is a link
  // that the user activated.
  void Decided(const std::string& uri, bool followedLink);
  // The page's own load started, committed or failed, and its address as the engine then gives it:
  // the new one for a load the reader started, the page's former one until it changes for a load
  // the page started.
  void PageLoadStarted(const std::string& address);
  void PageAddressChanged(const std::string& address);
  void PageLoadSettled(const std::string& address);

 private:
  // The visit, once the address is one of the navigations decided since the last start (or,
  // when the load settles first, whatever it is).
  void Resolve(const std::string& address, bool settled);

  std::vector<std::string> FDecided;  // let through since the page's last load started
  std::string FVisitedAhead;          // the followed link decided last, a visit already
  bool FStarting = false;             // a decided load started, its address not yet known
};
