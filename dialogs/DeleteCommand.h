// The delete button of the command bar and of a search results window.
#pragma once
#include <windows.h>

// With a row selected in the catalogue list view (resultsWindow null) or
// in the results window's list view, asks, then deletes its record from
// the database, the lists and every view, or says that it could not.  The
// record is the one selected when the command started, whatever happens
// while the question is open.  The boxes are owned by owner.
void RunDeleteCommand(HWND owner, HWND resultsWindow);
