// The search conditions dialog: builds the search from the given fields,
// fills the hit list and opens the results window.
#pragma once
#include <windows.h>

// Opens the dialog modally over the owner; 1 after a search reached the
// results window, 2 after cancel.
INT_PTR OpenSearchConditions(HWND owner);
