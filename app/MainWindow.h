// The main window: its class, its procedure and its layout.
#pragma once
#include <windows.h>

// The window class, with the main menu, under the class name.
void RegisterMainWindowClass(HINSTANCE instance, const WCHAR* className);
// Creates the window; its creation opens the catalogue.  Null when the
// window could not be made.
HWND CreateMainWindow(HINSTANCE instance, const WCHAR* className, const WCHAR* title);

// The status bar at the foot of the main window, which says how many books
// the catalogue holds.
HWND CreateStatusBar(HWND mainWindow);

// Puts the list pane and its list view below the command bar band, above
// the status bar.
void LayOutMainWindow(HWND mainWindow);
