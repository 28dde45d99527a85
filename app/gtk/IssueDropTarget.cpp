#include "app/gtk/IssueDropTarget.h"

#include "app/core/DroppedIssue.h"
#include "classlib/Application.h"

bool OpenDroppedIssue(wxWindow& frame, TMainForm& form, const std::vector<std::string>& files) {
  const std::string issue = IssueOfDrop(files);
  if (issue.empty()) return false;
  // The drag source waits for the drop to finish: open the issue once it has.
  frame.CallAfter([&form, issue] { Application.Guard([&form, &issue] { form.OpenIssueFile(issue); }); });
  return true;
}

bool TIssueDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) {
  std::vector<std::string> names;
  for (const wxString& file : files) names.push_back(file.utf8_string());
  return OpenDroppedIssue(FFrame, FForm, names);
}
