#include "dialogs/SearchResults.h"

#include <algorithm>
#include "dialogs/BookForm.h"
#include "dialogs/DeleteCommand.h"
#include "dialogs/Globals.h"
#include "listview/BookListView.h"
#include "listview/Win32ListView.h"
#include "resources/resource.h"

namespace {

// The buttons keep the band above the list.
constexpr int kListTopAt96 = 30;

void LayOut(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const int top = ScaledPixels(kListTopAt96, g_globals.systemDpi);
    MoveWindow(ResultsListView(window), 0, top, client.right - client.left, client.bottom - client.top - top, FALSE);
}

// The window keeps the hits as they are now for as long as it is open:
// its rows show them, and its commands act on them.
void Initialise(HWND window, ResultsWindow& results)
{
    results.window = window;
    results.records = g_globals.hits;
    ShowBooks(ResultsListView(window), results.records, g_globals.systemDpi);
    LayOut(window);
    g_globals.resultsWindow = window;
    g_globals.resultsWindows.push_back(&results);
}

// Once closing, its rows and records no longer follow the records' changes.
void StopShowingChanges(HWND window)
{
    std::vector<ResultsWindow*>& open = g_globals.resultsWindows;
    open.erase(std::remove_if(open.begin(), open.end(), [window](const ResultsWindow* results) {
                   return results->window == window;
               }),
               open.end());
}

// Closing.  A window holding many rows goes at once: it is hidden, and
// its rows are deleted a slice at a time on a timer while its modal loop
// goes on serving the main window; the dialog ends once few are left.
// Destroyed with all its rows it would freeze the program for seconds
// (see kRowsFreedQuickly).
constexpr UINT_PTR kReleaseTimer = 1;
constexpr double kReleaseSliceMs = 5;

void Close(HWND window)
{
    StopShowingChanges(window);
    if (Win32ListView(ResultsListView(window)).Count() <= kRowsFreedQuickly) {
        EndDialog(window, 2);
        return;
    }
    ShowWindow(window, SW_HIDE);
    SetTimer(window, kReleaseTimer, USER_TIMER_MINIMUM, nullptr);
}

void ReleaseRows(HWND window)
{
    if (DeleteLastRows(ResultsListView(window), kReleaseSliceMs) > kRowsFreedQuickly) return;
    KillTimer(window, kReleaseTimer);
    EndDialog(window, 2);
}

void EditHit(HWND window)
{
    const int row = FindSelectedRow(Win32ListView(ResultsListView(window)));
    if (row == -1) return;
    g_globals.selectionIndex = row;
    g_globals.resultsEditFlag = true;
    g_globals.resultsWindow = window;
    OpenBookForm(window);
}

INT_PTR CALLBACK SearchResultsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            Initialise(window, *reinterpret_cast<ResultsWindow*>(lParam));
            return TRUE;
        case WM_SIZE:
            LayOut(window);
            return FALSE;
        case WM_TIMER:
            if (wParam == kReleaseTimer) ReleaseRows(window);
            return TRUE;
        case WM_DESTROY:
            StopShowingChanges(window);
            // Rows still here: the main window is taking this one with it
            // as the program ends.
            KeepRowsUntilExit(ResultsListView(window));
            return FALSE;
        case WM_COMMAND:
            // There is no OK button: the Enter key's IDOK does nothing.
            switch (LOWORD(wParam)) {
            case IDCANCEL: Close(window); break;
            case IDC_EDIT_BOOK: EditHit(window); break;
            case IDC_DELETE_BOOK: RunDeleteCommand(window, window); break;
            }
            return TRUE;
        }
    } catch (...) {
        // Every change is written to the database before memory or screen.
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenSearchResults(HWND owner)
{
    // What the window shows, for as long as its modal loop runs.
    ResultsWindow results;
    return DialogBoxParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_SEARCH_RESULTS), owner, SearchResultsProc,
                           reinterpret_cast<LPARAM>(&results));
}
