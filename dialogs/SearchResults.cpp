#include "dialogs/SearchResults.h"

#include <commctrl.h>
#include <algorithm>
#include "dialogs/DeleteCommand.h"
#include "dialogs/Globals.h"
#include "dialogs/ListGestures.h"
#include "listview/BookListView.h"
#include "listview/Win32ListView.h"
#include "resources/resource.h"

namespace {

// The buttons and the count keep the band above the list.
constexpr int kListTopAt96 = 30;

HWND ResultsListView(HWND window)
{
    return GetDlgItem(window, IDC_BOOK_LIST);
}

void LayOut(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const int top = ScaledPixels(kListTopAt96, g_globals.systemDpi);
    MoveWindow(ResultsListView(window), 0, top, client.right - client.left, client.bottom - client.top - top, FALSE);
}

// What one results window shows, its own for as long as it is open: the
// hits it opened with, less the records deleted since.
struct ResultsWindow {
    BookList hits;                 // handed over at the opening
    std::unique_ptr<BookView> view;
};

ResultsWindow* WindowData(HWND window)
{
    return reinterpret_cast<ResultsWindow*>(GetWindowLongPtrW(window, DWLP_USER));
}

void Initialise(HWND window, ResultsWindow& results)
{
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&results));
    results.view = MakeBookView(ResultsListView(window), GetDlgItem(window, IDC_BOOK_COUNT), g_globals.systemDpi);
    results.view->Show(std::move(results.hits));
    LayOut(window);
    g_globals.resultsViews.push_back(results.view.get());
}

// Once closing, its rows and records no longer follow the records' changes.
void StopShowingChanges(HWND window)
{
    const ResultsWindow* results = WindowData(window);
    if (!results) return;
    std::vector<BookView*>& open = g_globals.resultsViews;
    open.erase(std::remove(open.begin(), open.end(), results->view.get()), open.end());
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

// The window's own view; none while it initialises or once it is gone.
BookView* ViewOf(HWND window)
{
    const ResultsWindow* results = WindowData(window);
    return results ? results->view.get() : nullptr;
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
        case WM_NOTIFY:
            // The list view's defaults follow all the same.
            if (BookView* view = ViewOf(window)) OnBookListNotice(window, *view, *reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case WM_COMMAND: {
            BookView* view = ViewOf(window);
            switch (LOWORD(wParam)) {
            case IDCANCEL: Close(window); break;
            // There is no OK button: IDOK is the Enter key in the list.
            case IDOK:
            case IDC_EDIT_BOOK: if (view) EditSelectedBook(window, *view); break;
            case IDC_DELETE_BOOK: if (view) RunDeleteCommand(window, *view); break;
            }
            return TRUE;
        }
        }
    } catch (...) {
        // Every change is written to the database before memory or screen.
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenSearchResults(HWND owner, BookList hits)
{
    // What the window shows, for as long as its modal loop runs.
    ResultsWindow results{std::move(hits), nullptr};
    return DialogBoxParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_SEARCH_RESULTS), owner, SearchResultsProc,
                           reinterpret_cast<LPARAM>(&results));
}
