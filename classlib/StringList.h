#pragma once
// A list of strings, unsorted, duplicates allowed.
#include <string>
#include <vector>

class TStringList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& operator[](int index) const { return FItems.at(static_cast<std::size_t>(index)); }
  int Add(const std::string& s) {
    FItems.push_back(s);
    return Count() - 1;
  }
  void Delete(int index) { FItems.erase(FItems.begin() + index); }
  void Clear() { FItems.clear(); }
  void Assign(const TStringList& other) { FItems = other.FItems; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<std::string> FItems;
};
