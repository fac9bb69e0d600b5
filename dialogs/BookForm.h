// The book form: adds a record (selection index -1) or changes the record
// behind the selected row of the catalogue or results list view.
#pragma once
#include <windows.h>

// Opens the form modally over the owner; 1 after a saved change, 2 after
// cancel.
INT_PTR OpenBookForm(HWND owner);
