// The floor of "catalogue shown" (bench_shell): the barest program that
// shows Tomebox.sqlite of the current directory the way Tomebox does.  It
// starts, makes a top-level window holding the list pane of the same
// template (so a list view of the same styles), steps through the table
// converting every shown text as the view must (UTF-8 to UTF-16, into
// buffers on the stack), sends each row to the list view with the same
// messages, and runs its message loop.  Nothing is checked or
// kept.  Closing it destroys the window and with it the rows: the floor of
// closing.
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include "BenchSupport.h"
#include "resources/resource.h"

namespace {

sqlite3* g_db = nullptr;

// Idle, like Tomebox's lookup workers before any lookup.
DWORD WINAPI IdleThread(void*)
{
    Sleep(INFINITE);
    return 0;
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        sqlite3_close(g_db);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void ShowTable(HWND listView)
{
    sqlite3_open("Tomebox.sqlite", &g_db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare(g_db, "SELECT * FROM Tomebox", -1, &select, nullptr);
    bare::SetUpColumns(listView);
    // Without owner data the control ignores the count, and a program that
    // inserts as it reads does not know it before the end.
    bare::HoldDrawing(listView, -1);
    // The shown texts by their place in the table: title, author, place,
    // publisher, ISBN.
    static const int kTexts[5] = {0, 2, 8, 6, 10};
    static WCHAR converted[5][1024];
    WCHAR year[12], month[12];
    int row = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        for (int t = 0; t < 5; ++t) {
            const unsigned char* text = sqlite3_column_text(select, kTexts[t]);
            bare::Wide(reinterpret_cast<const char*>(text), text ? sqlite3_column_bytes(select, kTexts[t]) : 0,
                       converted[t]);
        }
        const WCHAR* const cells[bare::kColumns] = {
            converted[0], converted[1], converted[2], bare::Decimal(sqlite3_column_int(select, 4), year),
            bare::Decimal(sqlite3_column_int(select, 5), month), converted[3], converted[4]};
        bare::InsertRow(listView, row++, cells, sqlite3_column_int64(select, 11));
    }
    sqlite3_finalize(select);
    bare::ReleaseDrawing(listView);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // Tomebox starts its four lookup workers first thing.  Threads change
    // where Wine's heap puts things, and the list view's fill of 100,000
    // rows has run in 2.1 s or in 3.0 s depending on such layout, so the
    // floor starts four idle threads the same way, to run in a process
    // like Tomebox's.
    for (int i = 0; i < 4; ++i) CloseHandle(CreateThread(nullptr, 0, IdleThread, nullptr, 0, nullptr));
    InitCommonControls();
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "TOMEBOX_FLOOR";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "TOMEBOX_FLOOR", "Tomebox floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                  CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HWND pane = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LIST_PANE), window, InertProc, 0);
    RECT client;
    GetClientRect(window, &client);
    const int top = GetSystemMetrics(SM_CYMENU) + 10;
    MoveWindow(pane, 0, top, client.right, client.bottom - top, FALSE);
    HWND listView = GetDlgItem(pane, IDC_BOOK_LIST);
    MoveWindow(listView, 0, 0, client.right, client.bottom - top, FALSE);
    ShowWindow(pane, SW_SHOW);
    ShowTable(listView);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
