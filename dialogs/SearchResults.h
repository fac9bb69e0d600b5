// The search results window: lists the hits it is given, keeps those
// records for as long as it is open, and edits or deletes them everywhere
// they are shown.
#pragma once
#include <windows.h>
#include "store/BookData.h"

// Opens the window modally over the owner (the search conditions dialog,
// already ended) on the hits; 2 when it is closed.
INT_PTR OpenSearchResults(HWND owner, BookList hits);
