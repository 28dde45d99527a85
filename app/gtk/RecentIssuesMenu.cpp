#include "app/gtk/RecentIssuesMenu.h"

#include <gtk/gtk.h>

#include "app/core/RecentIssues.h"
#include "classlib/Application.h"

TRecentIssuesMenu::TRecentIssuesMenu(wxFrame& frame, wxMenu& file, std::size_t after, TMainForm& form)
    : FFile(file), FAfter(after), FForm(form), FFirstId(wxWindow::NewControlId(TRecentIssues::MaxCount + 1)) {
  const wxWindowID clearId = FFirstId + static_cast<wxWindowID>(TRecentIssues::MaxCount);
  frame.Bind(
      wxEVT_MENU,
      [this, clearId](wxCommandEvent& event) {
        const wxWindowID id = event.GetId();
        Application.Guard([this, id, clearId] {
          if (id == clearId)
            FForm.ClearRecentIssues();
          else
            FForm.OpenRecentIssue(static_cast<std::size_t>(id - FFirstId) + 1);
        });
      },
      FFirstId, clearId);
  FForm.OnRecentIssuesChanged = [this] { Rebuild(); };
  Rebuild();
}

TRecentIssuesMenu::~TRecentIssuesMenu() {
  FForm.OnRecentIssuesChanged = nullptr;
}

void TRecentIssuesMenu::Rebuild() {
  for (wxMenuItem* item : FItems) FFile.Destroy(item);
  FItems.clear();
  const std::vector<TRecentMenuEntry> entries = FForm.RecentIssues().MenuEntries();
  if (entries.empty()) return;
  std::size_t position = FAfter + 1;
  FItems.push_back(FFile.InsertSeparator(position++));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    wxMenuItem* item =
        FFile.Insert(position++, FFirstId + static_cast<wxWindowID>(i), wxString::FromUTF8(entries[i].label));
    gtk_widget_set_tooltip_text(item->GetMenuItem(), entries[i].tooltip.c_str());
    FItems.push_back(item);
  }
  FItems.push_back(FFile.Insert(position, FFirstId + static_cast<wxWindowID>(TRecentIssues::MaxCount),
                                "&Svuota l'elenco"));
}
