#include "app/core/ReaderMemory.h"

#include "app/core/WorkingFolder.h"

TReaderMemory::TReaderMemory(const std::string& stateFolder) : FRecent(stateFolder), FPlaces(stateFolder) {
  FRecent.Load();
  FPlaces.Load();
}

std::optional<TKeptPlace> TReaderMemory::IssueShown(const std::string& fileName, const TZipComponent& zip) {
  FRecent.Opened(fileName);
  FShown = IdentityOf(fileName, zip);
  return FShown ? FPlaces.Recall(*FShown) : std::nullopt;
}

void TReaderMemory::Leave(const std::string& address, double zoom) {
  const std::string page = WorkingFileName(address);
  if (!FShown || page.empty()) return;
  for (const char* written : {StartPageName, LinksPageName, SearchPageName})
    if (page == written) return;
  FPlaces.Remember(*FShown, page, zoom);
}
