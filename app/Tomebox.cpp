#include "app/Tomebox.h"

#include <commctrl.h>
#include "app/CommandBar.h"
#include "app/ListPane.h"
#include "app/MainWindow.h"
#include "dialogs/Globals.h"
#include "listview/BookListView.h"
#include "resources/resource.h"

namespace {

// The screen's DPI, read once: every window is drawn at it.  96 when the
// screen tells none.
int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

HWND StartTomebox(HINSTANCE instance, int showCommand)
{
    // The class and the window copy both texts.
    WCHAR title[100];
    WCHAR className[100];
    LoadStringW(instance, IDS_APP_TITLE, title, 100);
    LoadStringW(instance, IDS_WINDOW_CLASS, className, 100);
    RegisterMainWindowClass(instance, className);

    g_globals.instance = instance;
    g_globals.systemDpi = SystemDpi();
    InitCommonControls();
    HWND mainWindow = CreateMainWindow(instance, className, title);
    if (!mainWindow) return nullptr;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);

    g_globals.commandBar = CreateCommandBar(mainWindow);
    ShowWindow(g_globals.commandBar, SW_SHOW);
    g_globals.statusBar = CreateStatusBar(mainWindow);
    g_globals.listPane = CreateListPane(mainWindow);
    LayOutMainWindow(mainWindow);
    ShowWindow(g_globals.listPane, SW_SHOW);
    g_globals.catalogueView = MakeBookView(CatalogueListView(), g_globals.statusBar, g_globals.systemDpi);
    g_globals.catalogueView->Show(g_globals.catalogue.books);
    return mainWindow;
}

int RunMessageLoop()
{
    HACCEL accelerators = LoadAcceleratorsW(g_globals.instance, MAKEINTRESOURCEW(IDR_MAIN));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        // Translated for the window the message is addressed to, not for the
        // main window: an accelerator's command goes to that window, so the
        // about box opens only when the main window itself has the keyboard
        // focus, and a child control that has it ignores the command.
        if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
