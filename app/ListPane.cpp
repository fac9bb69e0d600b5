#include "app/ListPane.h"

#include <commctrl.h>
#include "dialogs/BookForm.h"
#include "dialogs/DeleteCommand.h"
#include "dialogs/Globals.h"
#include "resources/resource.h"

namespace {

// The catalogue list view's header clicks, double-clicks and keys.  Its
// commands are the command bar's, whose boxes and forms they open over.
void OnListNotify(const NMHDR& notice)
{
    BookView* view = g_globals.catalogueView.get();
    if (notice.idFrom != IDC_BOOK_LIST || !view) return;
    switch (notice.code) {
    case LVN_COLUMNCLICK:
        view->SortBy(reinterpret_cast<const NMLISTVIEW&>(notice).iSubItem);
        break;
    case NM_DBLCLK:
        if (BookPtr record = view->RecordAt(reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem))
            OpenBookForm(g_globals.commandBar, std::move(record));
        break;
    case NM_RETURN:
        if (BookPtr record = view->SelectedRecord()) OpenBookForm(g_globals.commandBar, std::move(record));
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(notice).wVKey == VK_DELETE)
            RunDeleteCommand(g_globals.commandBar, *view);
        break;
    }
}

// The pane only holds the list view; the view's own defaults follow its
// notifications all the same.
INT_PTR CALLBACK ListPaneProc(HWND, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY) return FALSE;
    try {
        OnListNotify(*reinterpret_cast<const NMHDR*>(lParam));
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
