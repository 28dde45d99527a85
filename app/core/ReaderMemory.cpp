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
  const std::string folder = WorkingFolder() + "/";
  if (!FShown || address.compare(0, folder.size(), folder) != 0) return;
  const std::string page = address.substr(folder.size());
  for (const char* written : {StartPageName, LinksPageName, SearchPageName})
    if (page == written) return;
  FPlaces.Remember(*FShown, page, zoom);
}
