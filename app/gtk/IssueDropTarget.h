#pragma once
// Files dropped on the window: one file runs the open-issue step without the open dialog, which
// says why when it is no issue; several are refused with a word.
#include <wx/dnd.h>
#include <wx/window.h>

#include <string>
#include <vector>

#include "app/core/Main.h"

// Opens the dropped file, or says why not, once the drop has finished; says whether the drop holds
// an issue.
bool OpenDroppedIssue(wxWindow& frame, TMainForm& form, const std::vector<std::string>& files);

class TIssueDropTarget : public wxFileDropTarget {
 public:
  TIssueDropTarget(wxWindow& frame, TMainForm& form) : FFrame(frame), FForm(form) {}
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

 private:
  wxWindow& FFrame;
  TMainForm& FForm;
};
