#include <windows.h>
#include <commctrl.h>

#include "app/CommandBar.h"
#include "app/ErrorBox.h"
#include "app/Globals.h"
#include "app/Shell.h"
#include "listview/CatalogueListView.h"
#include "resources/resource.h"
#include "store/CatalogueDatabase.h"

namespace {

char g_titleText[100];
char g_classNameText[100];

WindowOperations WindowOperationsOf(HWND mainWindow)
{
    return {[mainWindow](const char* message) { ShowError(mainWindow, message); },
            [] { PostQuitMessage(0); }};
}

LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    StartupOutcome outcome = StartCatalogueDatabase(WindowOperationsOf(window));
    // The window is created in every case; a failed start-up has posted the
    // quit request, which ends the loop once it runs.
    if (outcome == StartupOutcome::Ready || outcome == StartupOutcome::Load)
        return DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void ShowAboutBox(HWND window)
{
    DialogBoxParamA(g_appInstance, MAKEINTRESOURCEA(IDD_ABOUTBOX), window, AboutBoxProc, 0);
}

void RegisterMainWindowClass(HINSTANCE instance)
{
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_ICON, 0, 0,
                                               LR_SHARED | LR_DEFAULTSIZE));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN);
    windowClass.lpszClassName = g_classNameText;
    RegisterClassExA(&windowClass);
}

LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, message, wParam, lParam);
    case WM_DESTROY:
        CloseCatalogueDatabase(WindowOperationsOf(window));
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
        case IDM_EXIT: DestroyWindow(window); return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandleMainWindowMessage(window, message, wParam, lParam);
    } catch (...) {
        // Only the catalogue's start-up and close can throw (out of memory);
        // a run that cannot finish either of them ends.
        PostQuitMessage(0);
        return 0;
    }
}

void LayOutMainWindow(HWND mainWindow)
{
    // Early WM_SIZE messages come before the list pane exists.
    if (!g_listPane) return;
    RECT client;
    GetClientRect(mainWindow, &client);
    int top = GetSystemMetrics(SM_CYMENU) + 10;
    int width = client.right - client.left;
    int height = client.bottom - client.top - top;
    MoveWindow(g_listPane, 0, top, width, height, FALSE);
    MoveWindow(CatalogueListView(), 0, 0, width, height, FALSE);
}

HWND StartTomebox(HINSTANCE instance, int showCommand)
{
    LoadStringA(instance, IDS_APP_TITLE, g_titleText, sizeof g_titleText);
    LoadStringA(instance, IDS_WINDOW_CLASS, g_classNameText, sizeof g_classNameText);
    RegisterMainWindowClass(instance);

    g_appInstance = instance;
    InitCommonControls();
    HWND mainWindow = CreateWindowExA(0, g_classNameText, g_titleText, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                      CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!mainWindow) return nullptr;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);

    g_commandBar = CreateCommandBar(mainWindow);
    ShowWindow(g_commandBar, SW_SHOW);
    g_listPane = CreateListPane(mainWindow);
    LayOutMainWindow(mainWindow);
    ShowWindow(g_listPane, SW_SHOW);
    // A copy, released when the rows are in.
    ShowBooks(CatalogueListView(), BookList(g_catalogue));
    return mainWindow;
}

int RunMessageLoop()
{
    HACCEL accelerators = LoadAcceleratorsA(g_appInstance, MAKEINTRESOURCEA(IDR_MAIN));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        // The accelerators act only on messages addressed to the main window
        // itself: the window named in the message is the one translated for.
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
