// The command bar: the strip of buttons at the top of the main window
// (new, edit, delete, search), a modeless child dialog.
#pragma once
#include <windows.h>

HWND CreateCommandBar(HWND mainWindow);
