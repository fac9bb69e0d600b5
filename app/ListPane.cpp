#include "app/ListPane.h"

#include "dialogs/Globals.h"
#include "dialogs/ListGestures.h"
#include "resources/resource.h"

namespace {

// The pane only holds the list view; the view's own defaults follow its
// notifications all the same.
INT_PTR CALLBACK ListPaneProc(HWND, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY) return FALSE;
    try {
        // Its commands are the command bar's, whose forms and boxes they open.
        if (g_globals.catalogueView)
            OnBookListNotice(g_globals.commandBar, *g_globals.catalogueView, *reinterpret_cast<const NMHDR*>(lParam));
    } catch (...) {
        // Nothing has changed unless the database was written first.
    }
    return FALSE;
}

}  // namespace

HWND CreateListPane(HWND mainWindow)
{
    return CreateDialogParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_LIST_PANE), mainWindow, ListPaneProc, 0);
}
