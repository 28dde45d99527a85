#include "app/gtk/IssueDropTarget.h"

#include "app/core/DroppedIssue.h"
#include "classlib/Application.h"

bool TIssueDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) {
  std::vector<std::string> names;
  for (const wxString& file : files) names.push_back(file.utf8_string());
  const std::string issue = IssueOfDrop(names);
  if (issue.empty()) return false;
  // The drag source waits for the drop to finish: open the issue once it has.
  TMainForm& form = FForm;
  FFrame.CallAfter([&form, issue] { Application.Guard([&form, &issue] { form.OpenIssueFile(issue); }); });
  return true;
}
