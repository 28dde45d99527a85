#include "app/engine/PageVisits.h"

#include <algorithm>

void TPageVisits::Decided(const std::string& uri, bool followedLink) {
  FDecided.push_back(uri);
  FVisitedAhead = followedLink ? uri : "";
  if (followedLink && OnVisit) OnVisit(uri);
}

void TPageVisits::PageLoadStarted(const std::string& address) {
  // With nothing decided since the last start, the load shows something in place of a page that
  // was a visit already: the engine's page for a load that failed.
  FStarting = !FDecided.empty();
  Resolve(address, false);
}

void TPageVisits::PageAddressChanged(const std::string& address) {
  Resolve(address, false);
}

void TPageVisits::PageLoadSettled(const std::string& address) {
  Resolve(address, true);
}

void TPageVisits::Resolve(const std::string& address, bool settled) {
  if (!FStarting) return;
  if (!settled && std::find(FDecided.begin(), FDecided.end(), address) == FDecided.end()) return;
  const bool visitedAlready = address == FVisitedAhead;
  FStarting = false;
  FDecided.clear();
  FVisitedAhead.clear();
  if (!visitedAlready && OnVisit) OnVisit(address);
}
