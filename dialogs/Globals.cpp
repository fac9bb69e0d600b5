#include "dialogs/Globals.h"

#include "resources/resource.h"

Globals g_globals;

HWND CatalogueListView()
{
    return GetDlgItem(g_globals.listPane, IDC_BOOK_LIST);
}

HWND ResultsListView(HWND resultsWindow)
{
    return GetDlgItem(resultsWindow, IDC_BOOK_LIST);
}

BookRows BookRowsOf(HWND resultsWindow)
{
    if (!resultsWindow) return {CatalogueListView(), g_globals.catalogue.books};
    for (const ResultsWindow* open : g_globals.resultsWindows)
        if (open->window == resultsWindow) return {ResultsListView(resultsWindow), open->records};
    static const BookList none;
    return {ResultsListView(resultsWindow), none};
}
