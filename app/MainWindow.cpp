#include "app/MainWindow.h"

#include <commctrl.h>
#include "app/AboutBox.h"
#include "dialogs/CsvCommands.h"
#include "dialogs/Globals.h"
#include "dialogs/MessageBoxes.h"
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "store/CatalogueDatabase.h"

namespace {

WindowOperations WindowOperationsOf(HWND mainWindow)
{
    return {[mainWindow](const char* message) { ShowError(mainWindow, message); },
            [] { PostQuitMessage(0); }};
}

LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    StartupOutcome outcome = StartCatalogueDatabase(g_globals.catalogue, WindowOperationsOf(window));
    // The window is created in every case; a failed start-up has posted the
    // quit request, which ends the loop once it runs.
    if (outcome == StartupOutcome::Ready || outcome == StartupOutcome::Load)
        return DefWindowProcW(window, message, wParam, lParam);
    return 0;
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, message, wParam, lParam);
    case WM_DESTROY:
        CloseCatalogueDatabase(g_globals.catalogue, WindowOperationsOf(window));
        // The catalogue is closed and the program ends: its rows are left to
        // the end of the process rather than freed one by one.
        KeepRowsUntilExit(CatalogueListView());
        return 0;
    case WM_SIZE:
        LayOutMainWindow(window);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_ABOUT: ShowAboutBox(window); return 0;
        case IDM_EXPORT_CSV: ExportCatalogueCsv(window); return 0;
        case IDM_IMPORT_CSV: ImportCatalogueCsv(window); return 0;
        case IDM_EXIT: DestroyWindow(window); return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandleMainWindowMessage(window, message, wParam, lParam);
    } catch (...) {
        // The catalogue's start-up and close (out of memory): a run that
        // cannot finish either of them ends.  An import or export ends
        // there too: the file is written first, and a CSV file too large
        // for the memory adds nothing.
        if (message == WM_CREATE || message == WM_DESTROY) PostQuitMessage(0);
        return 0;
    }
}

}  // namespace

void RegisterMainWindowClass(HINSTANCE instance, const WCHAR* className)
{
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 0, 0,
                                               LR_SHARED | LR_DEFAULTSIZE));
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance, const WCHAR* className, const WCHAR* title)
{
    return CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr,
                           nullptr, instance, nullptr);
}

HWND CreateStatusBar(HWND mainWindow)
{
    return CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), g_globals.instance, nullptr);
}

void LayOutMainWindow(HWND mainWindow)
{
    // Early WM_SIZE messages come before the list pane exists.
    if (!g_globals.listPane) return;
    RECT client;
    GetClientRect(mainWindow, &client);
    int barHeight = 0;
    if (g_globals.statusBar) {
        // The bar puts itself at the foot of the window, as high as its font.
        SendMessageW(g_globals.statusBar, WM_SIZE, 0, 0);
        RECT bar;
        GetWindowRect(g_globals.statusBar, &bar);
        barHeight = bar.bottom - bar.top;
    }
    int top = GetSystemMetrics(SM_CYMENU) + ScaledPixels(10, g_globals.systemDpi);
    int width = client.right - client.left;
    int height = client.bottom - client.top - top - barHeight;
    MoveWindow(g_globals.listPane, 0, top, width, height, FALSE);
    MoveWindow(CatalogueListView(), 0, 0, width, height, FALSE);
}
