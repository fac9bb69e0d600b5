#include "app/ListPane.h"

#include "dialogs/Globals.h"
#include "resources/resource.h"

namespace {

// The pane only holds the list view; the view's notifications are ignored.
INT_PTR CALLBACK ListPaneProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

HWND CreateListPane(HWND mainWindow)
{
    return CreateDialogParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_LIST_PANE), mainWindow, ListPaneProc, 0);
}
