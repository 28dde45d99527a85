#pragma once
// The recent issues in the File menu, after Apri...: one item each, numbered 1 to 8 with the number
// as mnemonic and the full path as tooltip, then an item that clears the list. Nothing shows while
// the list is empty.
#include <wx/frame.h>
#include <wx/menu.h>

#include <vector>

#include "app/core/Main.h"

class TRecentIssuesMenu {
 public:
  // The items go into file after its item at position 'after'.
  TRecentIssuesMenu(wxFrame& frame, wxMenu& file, std::size_t after, TMainForm& form);
  ~TRecentIssuesMenu();
  TRecentIssuesMenu(const TRecentIssuesMenu&) = delete;
  TRecentIssuesMenu& operator=(const TRecentIssuesMenu&) = delete;

 private:
  void Rebuild();

  wxMenu& FFile;
  std::size_t FAfter;
  TMainForm& FForm;
  wxWindowID FFirstId;  // the issues' items, then the clear item
  std::vector<wxMenuItem*> FItems;
};
