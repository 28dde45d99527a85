#pragma once
// Files dropped on the window: a single issue runs the open-issue step without the open dialog;
// any other drop is taken and ignored.
#include <wx/dnd.h>
#include <wx/window.h>

#include <string>
#include <vector>

#include "app/core/Main.h"

// Opens the dropped files' issue, if they hold a single one, once the drop has finished; says
// whether they did.
bool OpenDroppedIssue(wxWindow& frame, TMainForm& form, const std::vector<std::string>& files);

class TIssueDropTarget : public wxFileDropTarget {
 public:
  TIssueDropTarget(wxWindow& frame, TMainForm& form) : FFrame(frame), FForm(form) {}
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

 private:
  wxWindow& FFrame;
  TMainForm& FForm;
};
