#pragma once
// The ways a desktop ends a program without its close box: SIGTERM, SIGHUP, SIGINT and the end
// of the desktop session. None can be refused: the open step is cancelled, every modal box or
// dialog that is up (or comes up meanwhile) is ended as if dismissed, the main window closes as
// its close box does, and the process ends, with no input event needed. Should that not be done
// within a few seconds, the working folder is removed and the process ends anyway. A display that
// goes away takes the window with it: the folder is then cleaned and removed before the end.

// Call once, after the toolkit has opened its display and before the main window exists: a signal
// that comes early waits for the event loop, which runs only once the window is there.
void CatchEndSignals();

// Ends every modal box and dialog that is up, wx's and those GTK runs itself (print, file).
void EndModalDialogs();
