// The state the windows of Tomebox share, all of it in one place.  Every
// piece is touched on the user-interface thread only.  (The lookup's worker
// threads keep their own, in lookup/LookupWorkers.cpp.)
#pragma once
#include <windows.h>
#include <vector>
#include "store/BookData.h"
#include "store/Catalogue.h"

// A search results window now open, and the records its rows show: the
// hit list as it was when the window opened, less the records deleted
// since, whatever later searches do.  The same objects as in the catalogue
// list, so an edit made anywhere shows in every window.  Owned by the
// window's opening (OpenSearchResults).
struct ResultsWindow {
    HWND window = nullptr;
    BookList records;
};

struct Globals {
    // The module instance.  Set by StartTomebox before the main window is
    // made; read by every dialog creation and resource load.
    HINSTANCE instance = nullptr;
    // The system DPI.  Read once by StartTomebox before any window is made;
    // read by every layout and column set-up that scales a pixel figure.
    int systemDpi = 96;

    // The connection and the catalogue list.  Opened and loaded by the main
    // window's creation, closed by its destruction; the list is changed by
    // the book form and the delete command.  Row i of the catalogue
    // list view shows entry i of catalogue.books.
    Catalogue catalogue;

    // The records the last search found: the same objects as in the
    // catalogue list, never copies.  Refilled by the search conditions,
    // shrunk by the delete command, copied by each results window as it
    // opens.
    BookList hits;

    // The hand-over from an opener to the book form, read once by the form
    // as it initialises (it then holds the record itself): the row of the
    // record to edit in the opener's list view, -1 for a new record; whether
    // the opener is a search results window, whose view and records the
    // row then counts in; and that window.  Set by the command bar (-1 or
    // its selected row, false) and a results window (its selected row,
    // true, itself) just before they open the form; the window is also set
    // by each results window as it opens.
    int selectionIndex = -1;
    bool resultsEditFlag = false;
    HWND resultsWindow = nullptr;

    // The search results windows now open, in the order they opened: the
    // commands rewrite and delete rows, and delete records, in each of them.
    // A results window adds itself when it initialises and takes itself out
    // when it closes.
    std::vector<ResultsWindow*> resultsWindows;

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

// A list view and the records its rows show, in row order: the catalogue
// list view and the catalogue list for no window, else an open results
// window's view and its own records (none once it is closing).
struct BookRows {
    HWND listView;
    const BookList& records;
};
BookRows BookRowsOf(HWND resultsWindow);
