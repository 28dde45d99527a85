#pragma once
// The main window's own browsing history: visited addresses, the current position and the two
// pending flags of Back and Forward. Knows nothing of windows; navigation goes through OnNavigate.
#include <functional>
#include <memory>
#include <string>

#include "classlib/StringList.h"

class TBrowsingHistory {
 public:
  // Puts the address into the address slot and navigates there.
  std::function<void(const std::string&)> OnNavigate;

  void Create();   // an empty list with the index at -1
  void Release();  // frees the list; later events and buttons do nothing
  void ClearPending();

  void Back();     // the Back button
  void Forward();  // the Forward button
  // Loads the current entry again; its before-navigate records nothing and leaves the index.
  void Reload();
  // The browser's before-navigate event with its address.
  void BeforeNavigate(const std::string& url);

  bool Created() const { return FList != nullptr; }
  int Count() const { return FList ? FList->Count() : 0; }
  const std::string& Entry(int index) const { return (*FList)[index]; }
  int Index() const { return FIndex; }
  bool ForwardPending() const { return FForwardPending; }
  bool BackPending() const { return FBackPending; }

 private:
  int IndexOf(const std::string& url) const;  // first entry equal with case ignored, or -1

  std::unique_ptr<TStringList> FList;
  int FIndex = -1;
  bool FForwardPending = false;
  bool FBackPending = false;
  bool FReloadPending = false;
};
