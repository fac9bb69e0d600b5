#include "dialogs/DeleteCommand.h"

#include "dialogs/CommandContext.h"
#include "dialogs/Globals.h"
#include "dialogs/MessageBoxes.h"
#include "listview/BookListView.h"

void RunDeleteCommand(HWND owner, HWND resultsWindow)
{
    // The record is taken before the question: while it is asked, the
    // other window may delete, add or search, and rows move.
    const BookRows rows = BookRowsOf(resultsWindow);
    const Win32ListView view(rows.listView);
    const int row = FindSelectedRow(view);
    if (row == -1) return;
    const BookPtr record = RecordBehindRow(view, row, rows.records);
    if (!ConfirmDelete(owner)) return;

    CommandContext context;
    if (!DeleteRecord(record, context.get())) ShowError(owner, "SQLデータの削除に失敗しました");
}
