#pragma once
// The page view the reader owns: the engine's view on a context of the reader's, with its content
// policy, its rules for navigation and its guards against the pages (PageEngine.h, PageDoors.h,
// PageViewGuards.h), ready for a window to place, size and move as it likes. Knows nothing of the
// toolkit around it.
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <string>

#include "app/engine/DesktopLauncher.h"

class TPageVisits;

class TPageView {
 public:
  TPageView();
  ~TPageView();  // ends the view's web process
  TPageView(const TPageView&) = delete;
  TPageView& operator=(const TPageView&) = delete;

  GtkWidget* Widget() const { return GTK_WIDGET(FView); }
  WebKitWebView* Engine() const { return FView; }

  // Loads the URI on the user's behalf: a page that holds its web process does not keep it out.
  void Load(const std::string& uri);
  // The page on view, or the one being loaded; "" before the first.
  std::string Uri() const;
  bool Loading() const;
  double Zoom() const;
  void SetZoom(double factor);
  // Runs a script in the page; the answer gets true and its value as text, or false and the
  // error's message.
  using TScriptAnswer = std::function<void(bool ok, const std::string& text)>;
  void RunScript(const std::string& script, TScriptAnswer answer) const;
  // Calls the watcher with the view's URI each time a page has finished loading, or failed to;
  // returns the handler's id on Engine(), for g_signal_handler_disconnect.
  using TLoadWatcher = std::function<void(const std::string& uri)>;
  unsigned long WatchLoads(TLoadWatcher watcher) const;

  // Calls the teller with each address of a link handed off that the desktop did not open.
  void TellNotOpened(TNotOpened teller);

  // Fired for each visit (PageVisits.h) as it starts, with its URI.
  std::function<void(const std::string& uri)> OnVisit;

 private:
  WebKitWebView* FView;
  std::unique_ptr<TPageVisits> FVisits;
};
