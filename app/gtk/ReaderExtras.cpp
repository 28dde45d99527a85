#include "app/gtk/ReaderExtras.h"

#include "app/gtk/IssueDropTarget.h"
#include "app/gtk/PagePrint.h"
#include "app/gtk/PageViewGuards.h"
#include "app/gtk/WindowKeys.h"

TReaderExtras::TReaderExtras(wxWindow& frame, wxWebView& view, TMainForm& form)
    : FForm(form),
      FHistoryKeys(frame, view, form),
      FZoom(frame, view),
      FRecovery(frame, view, form),
      FPageDrops(frame, view, form),
      FFindBox(new TFindBox(frame, view)) {
  GuardPageView(static_cast<WebKitWebView*>(view.GetNativeBackend()));
  BindPrintKey(frame, view);
  RouteReaderKeys(frame);
  frame.SetDropTarget(new TIssueDropTarget(frame, form));
  form.OnIssueOpening = [this] { FZoom.Reset(); };
}

TReaderExtras::~TReaderExtras() {
  FForm.OnIssueOpening = nullptr;
}
