// A small window at a given place whose one button drags the given files as a file manager does
// (a text/uri-list), for tests that drop files on the reader through the X server. It ends when
// the drag ends.
#include <gtk/gtk.h>

#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 4) return 2;
  static std::vector<gchar*> uris;
  for (int i = 3; i < argc; ++i) uris.push_back(g_filename_to_uri(argv[i], nullptr, nullptr));
  uris.push_back(nullptr);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Folivo drag source");
  gtk_window_set_default_size(GTK_WINDOW(window), 120, 80);
  gtk_window_move(GTK_WINDOW(window), std::atoi(argv[1]), std::atoi(argv[2]));
  GtkWidget* button = gtk_button_new_with_label("drag");
  gtk_container_add(GTK_CONTAINER(window), button);
  GtkTargetEntry target = {const_cast<gchar*>("text/uri-list"), 0, 0};
  gtk_drag_source_set(button, GDK_BUTTON1_MASK, &target, 1, GDK_ACTION_COPY);
  g_signal_connect(button, "drag-data-get",
                   G_CALLBACK(+[](GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint,
                                  gpointer) { gtk_selection_data_set_uris(data, uris.data()); }),
                   nullptr);
  g_signal_connect(button, "drag-end",
                   G_CALLBACK(+[](GtkWidget*, GdkDragContext*, gpointer) { gtk_main_quit(); }), nullptr);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
