// State shared between the windows of Tomebox.  Everything here is touched
// on the user-interface thread only.
#pragma once
#include <windows.h>
#include "store/BookData.h"
#include "store/SqliteHandles.h"

// Set by WinMain before anything else; used for every dialog and resource load.
extern HINSTANCE g_appInstance;
// Opened by the database start-up in the main window's creation, closed by
// its destruction; every statement runs on it.
extern CatalogueConnection g_catalogueDb;
// Every record, in the order of loading then adding; row i of the catalogue
// list view shows entry i.  Loaded at start-up, changed by the book form and
// the two delete commands.
extern BookList g_catalogue;
// The records the last search found (the same objects as in g_catalogue).
// Refilled by the search, shrunk by the results window's delete, read by the
// book form when it edits from the results.
extern BookList g_hits;
// Row of the record to edit or delete in the list view that started the
// command; -1 for none (the book form then adds a record).  Set by the
// command bar and the results window, read by the book form.
extern int g_selectionIndex;
// True when the book form was opened from the search results: the selection
// index then counts rows of the results list view and the record is looked
// up in g_hits.  Set by the command bar and the results window.
extern bool g_resultsEditFlag;
// The search results window, stored when it initialises; the book form
// reaches the results list view through it.  Stale once the window closes.
extern HWND g_resultsWindow;
// The modeless child dialogs of the main window; the list pane holds the
// catalogue list view (IDC_BOOK_LIST).
extern HWND g_commandBar;
extern HWND g_listPane;
