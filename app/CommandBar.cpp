#include "app/CommandBar.h"

#include "app/ErrorBox.h"
#include "app/Globals.h"
#include "dialogs/BookForm.h"
#include "dialogs/SearchConditions.h"
#include "listview/CatalogueListView.h"
#include "listview/Win32ListView.h"
#include "resources/resource.h"
#include "store/RecordStatements.h"

namespace {

void NewBook(HWND commandBar)
{
    g_selectionIndex = -1;
    g_resultsEditFlag = false;
    OpenBookForm(commandBar);
}

void EditBook(HWND commandBar)
{
    // With no row selected the form opens empty and adds a record.
    g_selectionIndex = FindSelectedRow(Win32ListView(CatalogueListView()));
    g_resultsEditFlag = false;
    OpenBookForm(commandBar);
}

void DeleteBook(HWND commandBar)
{
    Win32ListView view(CatalogueListView());
    g_selectionIndex = FindSelectedRow(view);
    if (g_selectionIndex == -1) return;
    if (!ConfirmDelete(commandBar)) return;
    if (!DeleteCatalogueRow(view, g_selectionIndex))
        ShowError(commandBar, "SQLデータの削除に失敗しました");
}

void SearchBooks(HWND commandBar)
{
    OpenSearchConditions(commandBar);
}

INT_PTR CALLBACK CommandBarProc(HWND commandBar, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND) return FALSE;
    try {
        switch (LOWORD(wParam)) {
        case IDC_NEW_BOOK: NewBook(commandBar); break;
        case IDC_EDIT_BOOK: EditBook(commandBar); break;
        case IDC_DELETE_BOOK: DeleteBook(commandBar); break;
        case IDC_SEARCH: SearchBooks(commandBar); break;
        }
    } catch (...) {
        // Nothing has changed unless the database was written first.
    }
    return TRUE;
}

// The pane only holds the list view; the view's notifications are ignored.
INT_PTR CALLBACK ListPaneProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

HWND CreateCommandBar(HWND mainWindow)
{
    return CreateDialogParamA(g_appInstance, MAKEINTRESOURCEA(IDD_COMMAND_BAR), mainWindow, CommandBarProc, 0);
}

HWND CreateListPane(HWND mainWindow)
{
    return CreateDialogParamA(g_appInstance, MAKEINTRESOURCEA(IDD_LIST_PANE), mainWindow, ListPaneProc, 0);
}

HWND CatalogueListView()
{
    return GetDlgItem(g_listPane, IDC_BOOK_LIST);
}

bool DeleteCatalogueRow(ListViewRows& catalogueView, int row)
{
    int32_t id = catalogueView.ItemData(row);
    if (!DeleteBookData(id)) return false;
    RemoveBookById(g_catalogue, id);
    // The row goes even when no record carried the ID, so the view never
    // shows a record that is gone from the table.
    catalogueView.DeleteRow(row);
    return true;
}
