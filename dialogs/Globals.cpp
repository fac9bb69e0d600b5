#include "dialogs/Globals.h"

#include "resources/resource.h"

Globals g_globals;

HWND CatalogueListView()
{
    return GetDlgItem(g_globals.listPane, IDC_BOOK_LIST);
}
