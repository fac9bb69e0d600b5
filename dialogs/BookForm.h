// The book form: adds a record, or changes the record its opener hands it.
#pragma once
#include <windows.h>
#include "store/BookData.h"

// Opens the form modally over the owner on the record (null: a new one);
// 1 after a saved change, 2 after cancel.
INT_PTR OpenBookForm(HWND owner, BookPtr record);
