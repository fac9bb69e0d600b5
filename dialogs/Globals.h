// The state the windows of Tomebox share, all of it in one place.  Every
// piece is touched on the user-interface thread only.  (The lookup's worker
// threads keep their own, in lookup/LookupWorkers.cpp.)
#pragma once
#include <windows.h>
#include "store/BookData.h"
#include "store/Catalogue.h"

struct Globals {
    // The module instance.  Set by StartTomebox before the main window is
    // made; read by every dialog creation and resource load.
    HINSTANCE instance = nullptr;

    // The connection and the catalogue list.  Opened and loaded by the main
    // window's creation, closed by its destruction; the list is changed by
    // the book form and the two delete commands.  Row i of the catalogue
    // list view shows entry i of catalogue.books.
    Catalogue catalogue;

    // The records the last search found: the same objects as in the
    // catalogue list, never copies.  Refilled by the search conditions,
    // shrunk by the results window's delete, read by the book form when it
    // edits from the results.
    BookList hits;

    // Row of the record to edit or delete, in the list view that started the
    // command; -1 for none (the book form then adds a record).  Set by the
    // command bar and the results window, read by the book form.
    int selectionIndex = -1;

    // True when the book form was opened from the search results: the
    // selection index then counts rows of the results list view and the
    // record is looked up in the hit list.  Set by the command bar (false)
    // and the results window (true), read by the book form.
    bool resultsEditFlag = false;

    // The search results window that last opened the book form or
    // initialised; the book form reaches the results list view through it.
    // Set by the results window; stale once that window has closed.
    HWND resultsWindow = nullptr;

    // The main window's two child dialogs.  Set by StartTomebox; the list
    // pane holds the catalogue list view (IDC_BOOK_LIST) that the layout,
    // the commands and the book form reach through it.
    HWND commandBar = nullptr;
    HWND listPane = nullptr;
};

extern Globals g_globals;

// The catalogue list view, control IDC_BOOK_LIST of the list pane.
HWND CatalogueListView();
// The list view of a search results window.
HWND ResultsListView(HWND resultsWindow);
