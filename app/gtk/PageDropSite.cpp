#include "app/gtk/PageDropSite.h"

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "app/gtk/IssueDropTarget.h"

namespace {

GdkAtom FileListTarget() {
  return gdk_atom_intern_static_string("text/uri-list");
}

// Files dragged from elsewhere: a drag that starts in the reader itself comes from a page, whose
// script chose what the drag carries, and stays the page's own.
bool OffersFiles(GdkDragContext* context) {
  if (gtk_drag_get_source_widget(context) != nullptr) return false;
  for (GList* target = gdk_drag_context_list_targets(context); target != nullptr; target = target->next)
    if (GDK_POINTER_TO_ATOM(target->data) == FileListTarget()) return true;
  return false;
}

gboolean OnDragMotion(GtkWidget*, GdkDragContext* context, gint, gint, guint time, gpointer) {
  if (!OffersFiles(context)) return FALSE;
  gdk_drag_status(context, GDK_ACTION_COPY, time);
  return TRUE;
}

void OnDragLeave(GtkWidget* widget, GdkDragContext* context, guint, gpointer) {
  if (OffersFiles(context)) g_signal_stop_emission_by_name(widget, "drag-leave");
}

gboolean OnDragDrop(GtkWidget* widget, GdkDragContext* context, gint, gint, guint time, gpointer) {
  if (!OffersFiles(context)) return FALSE;
  gtk_drag_get_data(widget, context, FileListTarget(), time);
  return TRUE;
}

// Only the drop above asks for a file list: the engine never saw the drag.
void OnDragData(GtkWidget* widget, GdkDragContext* context, gint, gint, GtkSelectionData* data, guint,
                guint time, gpointer site) {
  if (gtk_selection_data_get_target(data) != FileListTarget()) return;
  g_signal_stop_emission_by_name(widget, "drag-data-received");
  std::vector<std::string> names;
  gchar** uris = gtk_selection_data_get_uris(data);
  for (gchar** uri = uris; uri != nullptr && *uri != nullptr; ++uri) {
    // An address that is no local file stays as it is: it names no issue.
    gchar* file = g_filename_from_uri(*uri, nullptr, nullptr);
    names.push_back(file != nullptr ? file : *uri);
    g_free(file);
  }
  g_strfreev(uris);
  auto& self = *static_cast<TPageDropSite*>(site);
  gtk_drag_finish(context, OpenDroppedIssue(self.Frame(), self.Form(), names), FALSE, time);
}

}  // namespace

TPageDropSite::TPageDropSite(wxWindow& frame, TPageView& page, TMainForm& form)
    : FFrame(frame), FPage(page), FForm(form) {
  GtkWidget* widget = page.Widget();
  g_signal_connect(widget, "drag-motion", G_CALLBACK(OnDragMotion), this);
  g_signal_connect(widget, "drag-leave", G_CALLBACK(OnDragLeave), this);
  g_signal_connect(widget, "drag-drop", G_CALLBACK(OnDragDrop), this);
  g_signal_connect(widget, "drag-data-received", G_CALLBACK(OnDragData), this);
}

TPageDropSite::~TPageDropSite() {
  g_signal_handlers_disconnect_by_data(FPage.Widget(), this);
}
