#include "app/gtk/ReaderExtras.h"

#include "app/gtk/IssueDropTarget.h"
#include "app/gtk/PagePrint.h"
#include "app/gtk/WindowKeys.h"

TReaderExtras::TReaderExtras(wxWindow& frame, TWebBrowser& browser, TMainForm& form)
    : FForm(form),
      FHistoryKeys(frame, browser.Page(), form),
      FZoom(frame, browser.Page()),
      FRecovery(frame, browser.Page(), form),
      FPageDrops(frame, browser.Page(), form),
      FFindBox(new TFindBox(frame, browser)) {
  BindPrintKey(frame, browser.Page());
  RouteReaderKeys(frame);
  frame.SetDropTarget(new TIssueDropTarget(frame, form));
  form.OnIssueOpening = [this] { FZoom.Reset(); };
  form.OnFindOnPage = [this](const std::string& text) { FFindBox->FindOnNextPage(wxString::FromUTF8(text)); };
}

TReaderExtras::~TReaderExtras() {
  FForm.OnIssueOpening = nullptr;
  FForm.OnFindOnPage = nullptr;
}
