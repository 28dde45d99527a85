#include "app/gtk/PagePrint.h"

const char* const PrintToFileName = "korvex.pdf";

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
  // The dialog's file button shows the whole address; given only the folder, it shows nothing.
  const std::string folder = PrintToFileFolder();
  for (const auto& [key, path] : {std::pair{GTK_PRINT_SETTINGS_OUTPUT_DIR, folder},
                                  std::pair{GTK_PRINT_SETTINGS_OUTPUT_URI, folder + "/" + PrintToFileName}}) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (uri) gtk_print_settings_set(settings, key, uri);
    g_free(uri);
  }
  return settings;
}
