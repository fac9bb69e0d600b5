// The program's top level: start-up, layout and the message loop.
#pragma once
#include <windows.h>

// Loads the title and class strings, registers the window class, creates
// the main window (which opens the catalogue), the command bar and the list
// pane, lays them out and fills the catalogue list view.  Returns the main
// window, or null when it could not be created.
HWND StartTomebox(HINSTANCE instance, int showCommand);

// Runs the message loop with the accelerators until the quit request and
// returns its exit code.
int RunMessageLoop();

// Puts the list pane and its list view below the command bar band.
void LayOutMainWindow(HWND mainWindow);

// Set up by StartTomebox; the main window procedure.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
