// The book form: adds a record, or changes the record behind the row the
// opener handed over (see the hand-over in dialogs/Globals.h).
#pragma once
#include <windows.h>

// Opens the form modally over the owner; 1 after a saved change, 2 after
// cancel.
INT_PTR OpenBookForm(HWND owner);
