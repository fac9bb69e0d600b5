#include "dialogs/SearchConditions.h"

#include "dialogs/DialogText.h"
#include "dialogs/Globals.h"
#include "dialogs/RecordCommands.h"
#include "dialogs/SearchResults.h"
#include "dialogs/SearchStatement.h"
#include "resources/resource.h"

namespace {

SearchTexts ReadConditionTexts(HWND dialog)
{
    SearchTexts texts;
    for (int i = 0; i < kSearchConditionCount; ++i)
        texts[i] = TypedFieldText(DialogItemText(dialog, kSearchConditions[i].editId));
    return texts;
}

// A search that did not run to its end (nothing given, a text that does
// not make a statement, a failing step) leaves the dialog open, silently.
void Search(HWND dialog)
{
    BookList hits;
    SearchOutcome outcome =
        RunSearch(ReadConditionTexts(dialog), g_globals.catalogue.db.get(), g_globals.catalogue.books, hits);
    if (outcome != SearchOutcome::Done) return;
    // Ended first, so that its owner, the main window, is usable while the
    // results are open; the dialog itself goes when this command returns.
    EndDialog(dialog, 1);
    OpenSearchResults(dialog, std::move(hits));
}

INT_PTR CALLBACK SearchConditionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND) return FALSE;
    try {
        switch (LOWORD(wParam)) {
        case IDOK: Search(dialog); break;
        case IDCANCEL: EndDialog(dialog, 2); break;
        }
    } catch (...) {
        // A search changes nothing until its results window opens.
    }
    return TRUE;
}

}  // namespace

INT_PTR OpenSearchConditions(HWND owner)
{
    return DialogBoxParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_SEARCH_CONDITIONS), owner, SearchConditionsProc, 0);
}
