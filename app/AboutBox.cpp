#include "app/AboutBox.h"

#include "dialogs/Globals.h"
#include "resources/resource.h"

namespace {

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

}  // namespace

INT_PTR ShowAboutBox(HWND owner)
{
    return DialogBoxParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, AboutBoxProc, 0);
}
