#include "dialogs/ProgressWindow.h"

#include <commctrl.h>
#include "dialogs/Globals.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"

namespace {

// Work shorter than this shows no window.
constexpr DWORD kShowAfterMilliseconds = 300;
constexpr int kBarRange = 1000;

struct ProgressTexts {
    const char16_t* caption;
    const char16_t* what;
};

INT_PTR CALLBACK ProgressProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* texts = reinterpret_cast<const ProgressTexts*>(lParam);
        SetWindowTextW(window, reinterpret_cast<const WCHAR*>(texts->caption));
        SetDlgItemTextW(window, IDC_PROGRESS_TEXT, reinterpret_cast<const WCHAR*>(texts->what));
        SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarRange);
        return TRUE;
    }
    // No button to press: the Escape key's IDCANCEL is ignored.
    return message == WM_COMMAND;
}

BOOL CALLBACK KeepEnabledWindow(HWND window, LPARAM found)
{
    if (IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

}  // namespace

ProgressWindow::ProgressWindow(HWND owner, const char16_t* caption)
    : owner_(owner), caption_(caption), start_(GetTickCount())
{
    EnumThreadWindows(GetCurrentThreadId(), KeepEnabledWindow, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

ProgressWindow::~ProgressWindow()
{
    // Enabled again before the window goes, so that activation returns to
    // the owner rather than to another program.
    for (auto window = disabled_.rbegin(); window != disabled_.rend(); ++window)
        if (IsWindow(*window)) EnableWindow(*window, TRUE);
    if (window_) DestroyWindow(window_);
}

void ProgressWindow::Show()
{
    ProgressTexts texts{caption_, what_};
    window_ = CreateDialogParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_PROGRESS), owner_, ProgressProc,
                                 reinterpret_cast<LPARAM>(&texts));
    if (window_) ShowWindow(window_, SW_SHOW);
}

void ProgressWindow::Step(const char16_t* what)
{
    what_ = what;
    if (!window_) return;
    SetDlgItemTextW(window_, IDC_PROGRESS_TEXT, reinterpret_cast<const WCHAR*>(what));
    SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
}

void ProgressWindow::Report(std::size_t done, std::size_t total)
{
    if (!window_ && GetTickCount() - start_ >= kShowAfterMilliseconds) Show();
    if (window_) {
        const double part = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
        SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(part * kBarRange), 0);
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsInput(message.message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
