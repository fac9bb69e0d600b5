// The state the windows of Tomebox share, all of it in one place.  Every
// piece is touched on the user-interface thread only.  (The lookup's worker
// threads keep their own, in lookup/LookupWorkers.cpp.)
#pragma once
#include <windows.h>
#include <memory>
#include <vector>
#include "listview/BookView.h"
#include "store/BookData.h"
#include "store/Catalogue.h"

struct Globals {
    // The module instance.  Set by StartTomebox before the main window is
    // made; read by every dialog creation and resource load.
    HINSTANCE instance = nullptr;
    // The system DPI.  Read once by StartTomebox before any window is made;
    // read by every layout and column set-up that scales a pixel figure.
    int systemDpi = 96;

    // The connection and the catalogue list, every record in the order of
    // loading then adding.  Opened and loaded by the main window's
    // creation, closed by its destruction; the list is changed by the book
    // form and the delete command.
    Catalogue catalogue;

    // The catalogue list view and the records its rows show: every record
    // of the catalogue list.  Made by StartTomebox with the list pane; new
    // records go into it.
    std::unique_ptr<BookView> catalogueView;
    // The views of the search results windows now open, in the order they
    // opened; each window owns its view, adds it here when it initialises
    // and takes it out when it closes, so that a change made anywhere shows
    // in every window.
    std::vector<BookView*> resultsViews;

    // The main window's children.  Set by StartTomebox; the list pane holds
    // the catalogue list view (IDC_BOOK_LIST), the status bar says how many
    // books the catalogue holds.
    HWND commandBar = nullptr;
    HWND listPane = nullptr;
    HWND statusBar = nullptr;
};

extern Globals g_globals;

// The catalogue list view's control, IDC_BOOK_LIST of the list pane.
HWND CatalogueListView();
