// The search conditions dialog: builds the search from the given fields,
// and opens the results window on its hits.
#pragma once
#include <windows.h>

// Opens the dialog modally over the owner; 1 after a search reached the
// results window, 2 after cancel.
INT_PTR OpenSearchConditions(HWND owner);
