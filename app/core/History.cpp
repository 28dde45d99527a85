#include "app/core/History.h"

#include "platform/CodePage.h"

void TBrowsingHistory::Create() {
  FIndex = -1;
  FList = std::make_unique<TStringList>();
}

void TBrowsingHistory::Release() {
  FList.reset();
}

void TBrowsingHistory::ClearPending() {
  FForwardPending = false;
  FBackPending = false;
  FReloadPending = false;
}

void TBrowsingHistory::Back() {
  if (!FList || FIndex <= 0) return;
  const std::string address = (*FList)[FIndex - 1];
  FBackPending = true;
  if (OnNavigate) OnNavigate(address);
}

void TBrowsingHistory::Forward() {
  if (!FList || FIndex >= FList->Count() - 1) return;
  const std::string address = (*FList)[FIndex + 1];
  FForwardPending = true;
  if (OnNavigate) OnNavigate(address);
}

void TBrowsingHistory::Reload() {
  if (!FList || FIndex < 0 || FIndex >= FList->Count()) return;
  const std::string address = (*FList)[FIndex];
  FReloadPending = true;
  if (OnNavigate) OnNavigate(address);
}

int TBrowsingHistory::IndexOf(const std::string& url) const {
  for (int i = 0; i < FList->Count(); ++i)
    if (CompareTextIgnoreCase((*FList)[i], url) == 0) return i;
  return -1;
}

void TBrowsingHistory::BeforeNavigate(const std::string& url) {
  if (!FList) return;
  if (FReloadPending) {
    FReloadPending = false;
    return;
  }
  if (FForwardPending) {
    // The entry just ahead is the page Forward asked for; a lookup from the start would walk
    // backwards whenever that address also lies behind.
    const bool ahead = FIndex + 1 < FList->Count() && CompareTextIgnoreCase((*FList)[FIndex + 1], url) == 0;
    FIndex = ahead ? FIndex + 1 : IndexOf(url);
    FForwardPending = false;
    return;
  }
  if (FBackPending) {
    // A back flag met by the wrong event can take the index past the start: it stays at -1,
    // so the next visit starts the list anew and nothing outside the list is ever read.
    FIndex = FIndex > -1 ? FIndex - 1 : -1;
    FBackPending = false;
    return;
  }
  while (FList->Count() > FIndex + 1) FList->Delete(FList->Count() - 1);
  FIndex = FList->Add(url);
}
