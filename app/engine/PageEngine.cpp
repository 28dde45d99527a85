#include "app/engine/PageEngine.h"

#include <cstring>
#include <string>

#include "app/core/WorkingFolder.h"
#include "app/engine/EngineConfinement.h"
#include "app/engine/IssueScheme.h"
#include "app/engine/PageDoors.h"

namespace {
// The engine's features that connect or look names up ahead of any request (the servers of links
// and of <link rel=preconnect|dns-prefetch|prefetch|preload>): such a connection alone tells the
// author that the issue was opened, whatever the content policy then refuses.
constexpr const char* SpeculativeFeatures[] = {"LinkPreconnect", "LinkPreconnectEarlyHints",
                                               "LinkDNSPrefetch", "LinkPrefetch", "LinkPreload"};

WebKitSettings* SettingsWithoutSpeculation() {
  WebKitSettings* settings = webkit_settings_new();
  WebKitFeatureList* features = webkit_settings_get_all_features();
  for (gsize i = 0; i < webkit_feature_list_get_length(features); ++i) {
    WebKitFeature* feature = webkit_feature_list_get(features, i);
    for (const char* speculative : SpeculativeFeatures)
      if (std::strcmp(webkit_feature_get_identifier(feature), speculative) == 0)
        webkit_settings_set_feature_enabled(settings, feature, FALSE);
  }
  webkit_feature_list_unref(features);
  return settings;
}

// Every download, whatever started it (a link's download attribute, a response the engine cannot
// show, a script), ends where it starts: before any name is looked at or anything is written.
void OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
  webkit_download_cancel(download);
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
  g_signal_connect(context, "download-started", G_CALLBACK(OnDownloadStarted), nullptr);
  return context;
}

WebKitWebView* NewReaderPageView() {
  WebKitWebContext* context = NewPageEngineContext();
  WebKitSettings* settings = SettingsWithoutSpeculation();
  const std::string policy = IssueContentPolicy();
  auto* view = WEBKIT_WEB_VIEW(
      g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings,
                                     "default-content-security-policy", policy.c_str(), nullptr)));
  g_object_unref(settings);
  g_object_unref(context);  // the view holds them
  ConnectPageDoors(view);
  return view;
}
