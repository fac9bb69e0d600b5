#include "app/CommandBar.h"

#include "dialogs/BookForm.h"
#include "dialogs/DeleteCommand.h"
#include "dialogs/Globals.h"
#include "dialogs/SearchConditions.h"
#include "resources/resource.h"

namespace {

void NewBook(HWND commandBar)
{
    OpenBookForm(commandBar, nullptr);
}

void EditBook(HWND commandBar)
{
    // With no row selected the form opens empty and adds a record.
    OpenBookForm(commandBar, g_globals.catalogueView->SelectedRecord());
}

void DeleteBook(HWND commandBar)
{
    RunDeleteCommand(commandBar, *g_globals.catalogueView);
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

}  // namespace

HWND CreateCommandBar(HWND mainWindow)
{
    return CreateDialogParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_COMMAND_BAR), mainWindow, CommandBarProc, 0);
}
