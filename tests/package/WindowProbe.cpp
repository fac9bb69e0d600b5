// Looks from another process at the main window of a Tomebox started beside
// it, as a person would see it, then closes it:
//   window_probe.exe ROWS
// 0: the window, its Japanese texts and ROWS catalogue rows were there and
// it was asked to close; 1: something was missing (said on stdout).
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Found {
    HWND newBook = nullptr;
    HWND listView = nullptr;
};

BOOL CALLBACK Visit(HWND child, LPARAM result)
{
    Found& found = *reinterpret_cast<Found*>(result);
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    wchar_t text[64] = {};
    GetWindowTextW(child, text, 64);
    if (std::wstring(className) == L"Button" && std::wstring(text) == L"新しい項目の作成") found.newBook = child;
    if (std::wstring(className) == L"SysListView32") found.listView = child;
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    const long rows = argc > 1 ? std::atol(argv[1]) : 0;
    HWND main = nullptr;
    for (int tries = 0; tries < 300; ++tries) {
        main = FindWindowW(L"TOMEBOX", nullptr);
        if (main && IsWindowVisible(main)) break;
        main = nullptr;
        Sleep(100);
    }
    if (!main) {
        std::printf("no visible main window of class TOMEBOX within 30 s\n");
        return 1;
    }
    int status = 0;
    wchar_t caption[64] = {};
    GetWindowTextW(main, caption, 64);
    if (std::wstring(caption) != L"Tomebox") {
        std::printf("main window caption is not \"Tomebox\"\n");
        status = 1;
    }
    // The list view answers once the program has filled it and reached its
    // message loop.
    Found found;
    long count = -1;
    for (int tries = 0; tries < 100; ++tries) {
        found = Found{};
        EnumChildWindows(main, Visit, reinterpret_cast<LPARAM>(&found));
        if (found.listView) count = static_cast<long>(SendMessageW(found.listView, LVM_GETITEMCOUNT, 0, 0));
        if (found.newBook && count == rows) break;
        Sleep(100);
    }
    if (!found.newBook) {
        std::printf("no button \"新しい項目の作成\" in the main window\n");
        status = 1;
    }
    if (count != rows) {
        std::printf("the catalogue view shows %ld rows, not %ld\n", count, rows);
        status = 1;
    }
    std::printf("main window seen: caption, command bar, %ld rows\n", count);
    PostMessageW(main, WM_CLOSE, 0, 0);
    return status;
}
