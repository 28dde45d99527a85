#pragma once
// Ctrl+P prints the page on view through the desktop's print dialog.
#include <wx/webview.h>

void BindPrintKey(wxWindow& frame, wxWebView& view);
