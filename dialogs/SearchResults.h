// The search results window: lists the hit list and edits or deletes its
// records everywhere they are shown.
#pragma once
#include <windows.h>
#include "listview/ListViewRows.h"
#include "store/BookData.h"

// Opens the window modally over the owner (the search conditions dialog,
// already ended); 2 when it is closed.
INT_PTR OpenSearchResults(HWND owner);

// Deletes the record behind a results row after the user confirmed: the
// database first, then the hit list entry, the results row, the catalogue
// record and its catalogue row.  False, with nothing changed, when the
// database refused.
bool DeleteResultsRow(ListViewRows& resultsView, ListViewRows& catalogueView, int row);
