// The search results window: lists the hit list and edits or deletes its
// records everywhere they are shown.
#pragma once
#include <windows.h>

// Opens the window modally over the owner (the search conditions dialog,
// already ended); 2 when it is closed.
INT_PTR OpenSearchResults(HWND owner);
