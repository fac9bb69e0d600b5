// The command bar (new, edit, delete, search) and the list pane that holds
// the catalogue list view.
#pragma once
#include <windows.h>
#include "listview/ListViewRows.h"

HWND CreateCommandBar(HWND mainWindow);
HWND CreateListPane(HWND mainWindow);

// The catalogue list view, control IDC_BOOK_LIST of the list pane.
HWND CatalogueListView();

// Deletes the record behind a catalogue row after the user confirmed:
// the database first, then the catalogue list and the row.  False, with
// nothing changed, when the database refused.
bool DeleteCatalogueRow(ListViewRows& catalogueView, int row);
