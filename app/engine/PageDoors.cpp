#include "app/engine/PageDoors.h"

#include <string>

#include "app/core/IssueAddress.h"
#include "app/engine/LinkActivations.h"

namespace {
std::string Address(WebKitNavigationAction* action) {
  return webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
}

TNavigationVerdict Verdict(WebKitNavigationAction* action) {
  const WebKitNavigationType type = webkit_navigation_action_get_navigation_type(action);
  return NavigationVerdict(Address(action), type == WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED ||
                                                type == WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED);
}

struct TLoadLater {
  WebKitWebView* view;
  std::string uri;
};

// A page of the issue asked for in a new window opens here, once the engine's signal is over.
void LoadInView(WebKitWebView* view, const std::string& uri) {
  g_idle_add_full(
      G_PRIORITY_DEFAULT,
      [](gpointer data) -> gboolean {
        const auto* load = static_cast<TLoadLater*>(data);
        webkit_web_view_load_uri(load->view, load->uri.c_str());
        return G_SOURCE_REMOVE;
      },
      new TLoadLater{WEBKIT_WEB_VIEW(g_object_ref(view)), uri},
      [](gpointer data) {
        auto* load = static_cast<TLoadLater*>(data);
        g_object_unref(load->view);
        delete load;
      });
}

// Opens what a new window was asked for with, as the rules say.
void OpenNewWindowAddress(WebKitWebView* view, WebKitNavigationAction* action) {
  switch (Verdict(action)) {
    case TNavigationVerdict::Load:
      if (Address(action).rfind(std::string(IssueScheme) + ":", 0) == 0) LoadInView(view, Address(action));
      break;
    case TNavigationVerdict::HandOff:
      TLinkActivations::Of(view).HandOff(action);
      break;
    case TNavigationVerdict::Drop:
      break;
  }
}

// Returns TRUE for a decision taken here; FALSE lets the navigation go on to the page view, which
// reports it to the shell.
gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    if (webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision)))
      return FALSE;
    webkit_policy_decision_ignore(decision);  // no downloads
    return TRUE;
  }
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
    OpenNewWindowAddress(view, action);
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  switch (Verdict(action)) {
    case TNavigationVerdict::Load:
      return FALSE;
    case TNavigationVerdict::HandOff:
      TLinkActivations::Of(view).HandOff(action);
      break;
    case TNavigationVerdict::Drop:
      break;
  }
  webkit_policy_decision_ignore(decision);
  return TRUE;
}

// A script's window.open: no new view is made; no later handler may make one either.
GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer) {
  OpenNewWindowAddress(view, action);
  g_signal_stop_emission_by_name(view, "create");
  return nullptr;
}
}  // namespace

void ConnectPageDoors(WebKitWebView* view) {
  TLinkActivations::Watch(view);
  g_signal_connect(view, "decide-policy", G_CALLBACK(OnDecidePolicy), nullptr);
  g_signal_connect(view, "create", G_CALLBACK(OnCreate), nullptr);
}
