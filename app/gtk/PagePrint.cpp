#include "app/gtk/PagePrint.h"

namespace {
void PrintPage(TPageView& page) {
  WebKitWebView* engine = page.Engine();
  WebKitPrintOperation* operation = webkit_print_operation_new(engine);
  GtkPrintSettings* settings = NewPrintSettings();
  webkit_print_operation_set_print_settings(operation, settings);
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(engine));
  webkit_print_operation_run_dialog(operation, GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr);
  g_object_unref(settings);
  g_object_unref(operation);
}
}  // namespace

void BindPrintKey(wxWindow& frame, TPageView& page) {
  frame.Bind(wxEVT_CHAR_HOOK, [&page](wxKeyEvent& event) {
    if (event.GetModifiers() == wxMOD_CONTROL && event.GetKeyCode() == 'P')
      PrintPage(page);
    else
      event.Skip();
  });
}

std::string PrintToFileFolder() {
  const char* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
  return documents && *documents ? documents : g_get_home_dir();
}

GtkPrintSettings* NewPrintSettings() {
  GtkPrintSettings* settings = gtk_print_settings_new();
  gchar* folder = g_filename_to_uri(PrintToFileFolder().c_str(), nullptr, nullptr);
  if (folder) gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_DIR, folder);
  g_free(folder);
  return settings;
}
