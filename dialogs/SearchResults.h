// The search results window: lists the hit list as it is when the window
// opens, keeps those records for as long as it is open, and edits or
// deletes them everywhere they are shown.
#pragma once
#include <windows.h>

// Opens the window modally over the owner (the search conditions dialog,
// already ended); 2 when it is closed.
INT_PTR OpenSearchResults(HWND owner);
