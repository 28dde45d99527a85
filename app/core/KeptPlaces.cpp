#include "app/core/KeptPlaces.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/core/StateFolder.h"

namespace {
const char* const PlacesFileName = "places";
const char* const PlacesHeader = "folivo places 1";
constexpr std::size_t PageLimit = 1024;
// Every line at its longest, with room to spare.
constexpr std::size_t PlacesFileLimit = TKeptPlaces::MaxCount * (PageLimit + 128);

double ClampedZoom(double zoom) {
  if (std::isnan(zoom)) return 1.0;
  return std::clamp(zoom, TKeptPlaces::MinZoom, TKeptPlaces::MaxZoom);
}

bool IsKeepablePage(const std::string& page) {
  return page.size() <= PageLimit && IsSafeRelativePath(page);
}

template <typename T>
bool ParseField(std::string_view field, T& value, int base = 10) {
  const char* end = field.data() + field.size();
  std::from_chars_result result{};
  if constexpr (std::is_floating_point_v<T>)
    result = std::from_chars(field.data(), end, value);
  else
    result = std::from_chars(field.data(), end, value, base);
  return !field.empty() && result.ec == std::errc() && result.ptr == end;
}

// "size<TAB>modified<TAB>hash<TAB>zoom<TAB>page"; the page last, as it may hold anything but a tab.
bool ParsePlace(std::string_view line, TIssueIdentity& identity, TKeptPlace& place) {
  std::string_view fields[5];
  for (int i = 0; i < 4; ++i) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  fields[4] = line;
  double zoom = 0;
  if (!ParseField(fields[0], identity.size) || !ParseField(fields[1], identity.modified) ||
      fields[2].size() != 16 || !ParseField(fields[2], identity.directoryHash, 16) ||
      !ParseField(fields[3], zoom) || !std::isfinite(zoom))
    return false;
  place.page = std::string(fields[4]);
  place.zoom = ClampedZoom(zoom);
  return IsKeepablePage(place.page);
}

std::string PlaceLine(const TIssueIdentity& identity, const TKeptPlace& place) {
  char hash[17];
  char zoom[32];
  const auto hashEnd = std::to_chars(hash, hash + 16, identity.directoryHash, 16).ptr;
  const std::string hex(hash, hashEnd);
  const auto zoomEnd = std::to_chars(zoom, zoom + sizeof zoom, place.zoom).ptr;
  return std::to_string(identity.size) + "\t" + std::to_string(identity.modified) + "\t" +
         std::string(16 - hex.size(), '0') + hex + "\t" + std::string(zoom, zoomEnd) + "\t" + place.page +
         "\n";
}
}  // namespace

TKeptPlaces::TKeptPlaces(std::string folder) : FFolder(std::move(folder)) {}

void TKeptPlaces::Load() {
  FPlaces.clear();
  const std::optional<std::string> text = ReadStateFile(FFolder, PlacesFileName, PlacesFileLimit);
  if (!text) return;
  std::string_view rest = *text;
  bool header = true;
  while (!rest.empty() && FPlaces.size() < MaxCount) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (header) {
      if (line != PlacesHeader) return;
      header = false;
      continue;
    }
    TEntry entry;
    if (ParsePlace(line, entry.identity, entry.place) && !Recall(entry.identity)) FPlaces.push_back(entry);
  }
}

void TKeptPlaces::Remember(const TIssueIdentity& identity, const std::string& page, double zoom) {
  if (!IsKeepablePage(page)) return;
  std::erase_if(FPlaces, [&identity](const TEntry& entry) { return entry.identity == identity; });
  FPlaces.insert(FPlaces.begin(), {identity, {page, ClampedZoom(zoom)}});
  if (FPlaces.size() > MaxCount) FPlaces.resize(MaxCount);
  Save();
}

std::optional<TKeptPlace> TKeptPlaces::Recall(const TIssueIdentity& identity) const {
  for (const TEntry& entry : FPlaces)
    if (entry.identity == identity) return entry.place;
  return std::nullopt;
}

void TKeptPlaces::Save() const {
  std::string text = std::string(PlacesHeader) + "\n";
  for (const TEntry& entry : FPlaces) text += PlaceLine(entry.identity, entry.place);
  WriteStateFile(FFolder, PlacesFileName, text);
}
