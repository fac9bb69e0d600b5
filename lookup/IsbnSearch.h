// The ISBN search button of the book form.
#pragma once
#include <windows.h>

// Starts the lookup of the ISBN typed in the form's IDC_ISBN box and
// returns at once; the answers are written into the form as they arrive.
// An empty box starts nothing.  The lookup workers must be running (see
// LookupWorkers.h).
void RunIsbnSearchCommand(HWND form);
