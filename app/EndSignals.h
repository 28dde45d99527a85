#pragma once
// The ways a desktop ends a program without its close box: SIGTERM, SIGHUP, SIGINT and the end
// of the desktop session. Each closes the main window as its close box does, on the GUI thread,
// so the working folder is cleaned and removed. A display that goes away takes the window with it:
// the folder is then cleaned and removed before the program ends.

// Call once, after the toolkit has opened its display and before the main window exists: a signal
// that comes early waits for the event loop, which runs only once the window is there.
void CatchEndSignals();
