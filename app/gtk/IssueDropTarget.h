#pragma once
// Files dropped on the window: a single issue runs the open-issue step without the open dialog;
// any other drop is taken and ignored, so the page engine never loads a dropped file itself.
#include <wx/dnd.h>
#include <wx/window.h>

#include "app/core/Main.h"

class TIssueDropTarget : public wxFileDropTarget {
 public:
  TIssueDropTarget(wxWindow& frame, TMainForm& form) : FFrame(frame), FForm(form) {}
  bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

 private:
  wxWindow& FFrame;
  TMainForm& FForm;
};
