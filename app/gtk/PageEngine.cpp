#include "app/gtk/PageEngine.h"

#include "app/core/IssueAddress.h"
#include "app/core/WorkingFolder.h"
#include "app/gtk/EngineConfinement.h"
#include "app/gtk/IssueScheme.h"
#include "app/gtk/PageDoors.h"

namespace {
// Pages load their style sheets, scripts, pictures, frames and everything a script asks for from
// the reader's scheme only (and data: or blob: of their own making): nothing from the network and
// no file outside the working folder, so nothing can be probed either; forms go nowhere else.
std::string IssueContentPolicy() {
  const std::string scheme = std::string(IssueScheme) + ":";
  return "default-src " + scheme + " data: blob: 'unsafe-inline' 'unsafe-eval'; form-action " + scheme;
}

}  // namespace

WebKitWebContext* NewPageEngineContext() {
  WebKitWebsiteDataManager* data = webkit_website_data_manager_new_ephemeral();
  WebKitMemoryPressureSettings* memoryLimit = NewWebProcessMemoryLimit();
  auto* context = WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", data,
                                                  "memory-pressure-settings", memoryLimit, nullptr));
  webkit_memory_pressure_settings_free(memoryLimit);
  g_object_unref(data);
  ConfineWebProcesses(context, WorkingFolder());
  webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  RegisterIssueScheme(context);
  return context;
}

bool IsReaderPageView(WebKitWebView* view) {
  return webkit_web_view_is_ephemeral(view) && HasPageDoors(view);
}

// The toolkit's web view makes its engine view with this function and no arguments, on the
// engine's shared default context, whose website data lives under the user's home. The reader
// provides the function itself, so that view is made on a context of the reader's, with the
// content policy that only the engine's constructor can set, and with the reader's navigation
// rules connected before the toolkit's own handlers. The window checks IsReaderPageView.
extern "C" GtkWidget* webkit_web_view_new() {
  WebKitWebContext* context = NewPageEngineContext();
  const std::string policy = IssueContentPolicy();
  auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                            "default-content-security-policy", policy.c_str(), nullptr));
  g_object_unref(context);  // the view holds it
  ConnectPageDoors(view);
  return GTK_WIDGET(view);
}
