#include "support/UiHarness.h"

#include <commctrl.h>
#include <algorithm>
#include <map>
#include "store/TextEncoding.h"

namespace {

UiHarness* g_harness = nullptr;
std::map<UINT_PTR, std::pair<HWND, std::function<void(HWND)>>> g_dueSteps;

bool IsDialogClass(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770";
}

// Message boxes carry their text in the static 0xFFFF and, under Wine, no
// module instance; the program's own dialogs always have one.
bool IsMessageBox(HWND window)
{
    return GetDlgItem(window, 0xFFFF) && GetWindowLongPtrA(window, GWLP_HINSTANCE) == 0;
}

}  // namespace

ShownBox ErrorBox(const std::string& text, HWND owner)
{
    return {"エラー", text, MB_OK, owner};
}

ShownBox DeleteQuestion(HWND owner)
{
    return {"確認", "本当に削除してよろしいですか？", MB_YESNO, owner};
}

void PrintTo(const ShownBox& box, std::ostream* out)
{
    *out << "{\"" << box.caption << "\", \"" << box.text << "\", " << (box.buttons == MB_YESNO ? "MB_YESNO" : "MB_OK")
         << ", owner " << box.owner << "}";
}

UiHarness::UiHarness()
{
    g_harness = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
}

UiHarness::~UiHarness()
{
    UnhookWindowsHookEx(hook_);
    // A step whose dialog never ran its loop must not run in a later test.
    for (const auto& due : g_dueSteps) KillTimer(nullptr, due.first);
    g_dueSteps.clear();
    g_harness = nullptr;
}

void UiHarness::QueueAnswer(int buttonId)
{
    answers_.push_back(buttonId);
}

void UiHarness::WhenDialogOpens(const std::string& caption, std::function<void(HWND)> step)
{
    steps_.push_back({caption, std::move(step)});
}

// Every dialog, message boxes included, is handled once, right after its
// WM_INITDIALOG: its texts are in place by then.  Activation is no signal:
// whether and when a window becomes active depends on the other programs
// sharing the desktop.
LRESULT CALLBACK UiHarness::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_harness && call->message == WM_INITDIALOG && IsDialogClass(call->hwnd) &&
        !(GetWindowLongA(call->hwnd, GWL_STYLE) & WS_CHILD))  // not the command bar or the list pane
        g_harness->OnDialogReady(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void UiHarness::OnDialogReady(HWND window)
{
    std::string caption = WindowText(window);
    auto step = std::find_if(steps_.begin(), steps_.end(),
                             [&](const DialogStep& s) { return s.caption == caption; });
    if (step != steps_.end()) {
        // The step runs from the dialog's own modal loop, once activation is over.
        UINT_PTR timer = SetTimer(nullptr, 0, 0, RunStep);
        g_dueSteps[timer] = {window, std::move(step->step)};
        steps_.erase(step);
        return;
    }
    if (IsMessageBox(window)) {
        bool question = GetDlgItem(window, IDYES) != nullptr;
        boxes_.push_back({caption, GetText(window, 0xFFFF), UINT(question ? MB_YESNO : MB_OK), GetWindow(window, GW_OWNER)});
        int answer = question ? IDNO : IDOK;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.erase(answers_.begin());
        }
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        return;
    }
    unexpected_.push_back(caption);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK UiHarness::RunStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    auto due = g_dueSteps.find(timer);
    if (due == g_dueSteps.end()) return;
    auto [dialog, step] = std::move(due->second);
    g_dueSteps.erase(due);
    // A modal dialog is shown once its loop first finds the queue empty; the
    // step waits for that, as a user would (a 10 ms period leaves the queue
    // empty in between).
    if (IsWindow(dialog) && !IsWindowVisible(dialog)) {
        UINT_PTR again = SetTimer(nullptr, 0, 10, RunStep);
        g_dueSteps[again] = {dialog, std::move(step)};
        return;
    }
    step(dialog);
}

void Press(HWND dialog, int controlId)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

void SetText(HWND dialog, int controlId, const std::string& text)
{
    SetDlgItemTextW(dialog, controlId, WideText(Utf8ToUtf16(text)));
}

std::string GetText(HWND dialog, int controlId)
{
    return WindowText(GetDlgItem(dialog, controlId));
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit request for the loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<size_t>(length > 0 ? length : 0) + 1, u'\0');
    const int got = GetWindowTextW(window, reinterpret_cast<WCHAR*>(&text[0]), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return Utf16ToUtf8(text);
}

int RowCount(HWND listView)
{
    return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

int64_t RowItemData(HWND listView, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int64_t>(item.lParam);
}

std::string CellText(HWND listView, int row, int subitem)
{
    WCHAR text[1024] = {};
    LVITEMW item = {};
    item.iSubItem = subitem;
    item.pszText = text;
    item.cchTextMax = 1024;
    const LRESULT length = SendMessageW(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length)));
}

std::vector<std::string> RowTexts(HWND listView, int row)
{
    std::vector<std::string> texts;
    for (int subitem = 0; subitem < 7; ++subitem) texts.push_back(CellText(listView, row, subitem));
    return texts;
}

void SelectRow(HWND listView, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::vector<int64_t> RowIds(HWND listView)
{
    std::vector<int64_t> ids;
    for (int row = 0; row < RowCount(listView); ++row) ids.push_back(RowItemData(listView, row));
    return ids;
}

void ClickColumnHeader(HWND listView, int column)
{
    HWND header = ListView_GetHeader(listView);
    RECT item = {};
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
}

void DoubleClickRow(HWND listView, int row)
{
    RECT item = {};
    item.left = LVIR_LABEL;
    SendMessageW(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
    SendMessageW(listView, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(listView, WM_LBUTTONUP, 0, at);
    SendMessageW(listView, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(listView, WM_LBUTTONUP, 0, at);
}

void PressKey(HWND listView, UINT key, HWND dialog)
{
    SetFocus(listView);
    MSG message = {listView, WM_KEYDOWN, key, 1, 0, {0, 0}};
    if (!dialog || !IsDialogMessageW(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int SortMark(HWND listView, int column)
{
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    SendMessageW(ListView_GetHeader(listView), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return (item.fmt & HDF_SORTUP) ? 1 : (item.fmt & HDF_SORTDOWN) ? -1 : 0;
}
