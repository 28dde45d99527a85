#include "app/gtk/IssueDropTarget.h"

#include "app/core/DroppedIssue.h"
#include "classlib/Application.h"
#include "classlib/Backend.h"

bool OpenDroppedIssue(wxWindow& frame, TMainForm& form, const std::vector<std::string>& files) {
  if (files.empty()) return false;
  const std::string file = files.size() == 1 ? files[0] : std::string();
  // The drag source waits for the drop to finish: the issue is opened once it has.
  frame.CallAfter([&form, file] {
    Application.Guard([&form, &file] {
      if (file.empty())
        Backend().ShowMessage("Drop one issue at a time.");
      else
        form.OpenIssueFile(file);
    });
  });
  return !IssueOfDrop(files).empty();
}

bool TIssueDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) {
  std::vector<std::string> names;
  for (const wxString& file : files) names.push_back(file.utf8_string());
  return OpenDroppedIssue(FFrame, FForm, names);
}
