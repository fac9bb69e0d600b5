#include "dialogs/DeleteCommand.h"

#include "dialogs/CommandContext.h"
#include "dialogs/MessageBoxes.h"

void RunDeleteCommand(HWND owner, const BookView& view)
{
    // The record is taken before the question: while it is asked, the
    // other window may delete, add, sort or close, and rows move.
    const BookPtr record = view.SelectedRecord();
    if (!record || !ConfirmDelete(owner)) return;

    RecordCommandContext context = CurrentCommandContext();
    if (!DeleteRecord(record, context)) ShowError(owner, "SQLデータの削除に失敗しました");
}
