#pragma once
// The place kept in each issue read: the page last shown and its zoom, by the identity, for
// the last MaxCount issues (the one least recently remembered goes first); kept between runs in the
// state folder (file "places"). The file is read as untrusted: a line that does not parse, a page
// that is not a plain relative path, a zoom that is not a number are dropped; zooms are clamped.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/core/IssueIdentity.h"

struct TKeptPlace {
  std::string page;  // relative to the folder, "/" between folders
  double zoom = 1.0;
};

class TKeptPlaces {
 public:
  static constexpr std::size_t MaxCount = 300;
  static constexpr double MinZoom = 0.3;
  static constexpr double MaxZoom = 3.0;

  // folder: the state folder ("" keeps the places for this run only).
  explicit TKeptPlaces(std::string folder);

  void Load();
  // Keeps the page and zoom of the issue and writes the file. A page that is no plain relative path
  // is not kept; the zoom is clamped to MinZoom..MaxZoom (not a number: 1).
  void Remember(const TIssueIdentity& identity, const std::string& page, double zoom);
  std::optional<TKeptPlace> Recall(const TIssueIdentity& identity) const;
  std::size_t Count() const { return FPlaces.size(); }

 private:
  struct TEntry {
    TIssueIdentity identity;
    TKeptPlace place;
  };
  void Save() const;

  std::string FFolder;
  std::vector<TEntry> FPlaces;  // most recently remembered first
};
