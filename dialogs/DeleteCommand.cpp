#include "dialogs/DeleteCommand.h"

#include "dialogs/CommandContext.h"
#include "dialogs/Globals.h"
#include "dialogs/MessageBoxes.h"
#include "listview/BookListView.h"

void RunDeleteCommand(HWND owner, HWND resultsWindow)
{
    const bool fromResults = resultsWindow != nullptr;
    g_globals.selectionIndex =
        FindSelectedRow(Win32ListView(fromResults ? ResultsListView(resultsWindow) : CatalogueListView()));
    if (g_globals.selectionIndex == -1) return;
    if (!ConfirmDelete(owner)) return;

    CommandContext context(g_globals.selectionIndex, fromResults, resultsWindow);
    const DeleteOutcome outcome = DeleteRecordAtRow(context.get());
    if (!outcome.deleted) {
        ShowError(owner, "SQLデータの削除に失敗しました");
        return;
    }
    // From the results, the selection index follows the record to the row
    // it had in the catalogue list view.
    if (fromResults && outcome.cataloguePosition != -1) g_globals.selectionIndex = outcome.cataloguePosition;
}
