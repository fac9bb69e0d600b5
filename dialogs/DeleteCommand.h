// The delete button of the command bar and of a search results window, and
// the Delete key in their list views.
#pragma once
#include <windows.h>
#include "listview/BookView.h"

// With a row of the view selected, asks, then deletes its record from the
// database, the catalogue list and every view, or says that it could not.
// The record is the one selected when the command started, whatever
// happens while the question is open.  The boxes are owned by owner.
void RunDeleteCommand(HWND owner, const BookView& view);
