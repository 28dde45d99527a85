#pragma once
// Ctrl+P prints the page on view through the desktop's print dialog.
#include <gtk/gtk.h>
#include <wx/window.h>

#include <string>

#include "app/engine/PageView.h"

void BindPrintKey(wxWindow& frame, TPageView& page);

// Where "Print to File" writes unless the user picks another folder: the user's documents folder,
// else the home folder; never the working folder (the current folder once an issue is unpacked),
// which is deleted when the program ends.
std::string PrintToFileFolder();
// The file it proposes there.
extern const char* const PrintToFileName;
// The settings the print dialog starts from; the caller owns them.
GtkPrintSettings* NewPrintSettings();
