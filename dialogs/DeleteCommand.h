// The delete button of the command bar and of a search results window.
#pragma once
#include <windows.h>

// Finds the selected row of the catalogue list view (resultsWindow null) or
// of the results window's list view and keeps it in the selection index;
// with a row selected, asks, then deletes its record from the database, the
// lists and the views, or says that the database refused.  The boxes are
// owned by owner.
void RunDeleteCommand(HWND owner, HWND resultsWindow);
