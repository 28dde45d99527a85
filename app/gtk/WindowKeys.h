#pragma once
// The reader's keys (history, zoom, find, print) reach the window's key hooks wherever the keyboard
// is: in the page, on a button, or on the window itself with no control focused. GTK hands a key to
// the focused widget, and the page engine or a window without one never passes it on, so the keys
// are taken from the window's GTK events before anything else sees them.
#include <wx/window.h>

void RouteReaderKeys(wxWindow& frame);
