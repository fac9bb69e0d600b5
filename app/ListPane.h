// The list pane: the modeless child dialog below the command bar that holds
// the catalogue list view (IDC_BOOK_LIST).
#pragma once
#include <windows.h>

// Made hidden; StartTomebox lays it out, then shows it.
HWND CreateListPane(HWND mainWindow);
