// The program's top level: start-up and the message loop, as WinMain runs
// them.
#pragma once
#include <windows.h>

// Loads the title and class strings, creates the main window (which opens
// the catalogue), the command bar, the status bar and the list pane, lays
// them out and fills the catalogue list view.  Returns the main window, or
// null when it could not be created.
HWND StartTomebox(HINSTANCE instance, int showCommand);

// Runs the message loop with the accelerators until the quit request and
// returns its exit code.
int RunMessageLoop();
