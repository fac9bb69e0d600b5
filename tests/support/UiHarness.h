// Drives the real windows of Tomebox from a test running on the
// user-interface thread: captures and answers every message box, runs test
// steps inside the modal loops of the program's dialogs, and reads list
// views back with list-view messages.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct ShownBox {
    std::string caption;
    std::string text;
    UINT buttons;  // MB_OK or MB_YESNO
    // The top-level window that owns the box: a child window named as the
    // owner (the command bar) makes its top-level ancestor the owner.
    HWND owner;

    bool operator==(const ShownBox& other) const
    {
        return caption == other.caption && text == other.text && buttons == other.buttons && owner == other.owner;
    }
};
// An error box as Tomebox shows it: the message under "エラー", OK only.
ShownBox ErrorBox(const std::string& text, HWND owner);
// The delete confirmation: "本当に削除してよろしいですか？" under "確認", Yes and No.
ShownBox DeleteQuestion(HWND owner);
// For GoogleTest's messages, so that a wrong box reads as one.
void PrintTo(const ShownBox& box, std::ostream* out);

class UiHarness {
public:
    UiHarness();  // installs a hook on this thread's window procedures
    ~UiHarness();
    UiHarness(const UiHarness&) = delete;
    UiHarness& operator=(const UiHarness&) = delete;

    // The answer to the next message box; boxes with no queued answer get
    // OK (or No for a question), and are recorded all the same.
    void QueueAnswer(int buttonId);
    const std::vector<ShownBox>& Boxes() const { return boxes_; }
    void ClearBoxes() { boxes_.clear(); }

    // Runs the step once, inside the modal loop of the next dialog with this
    // caption, once it is initialised.  A dialog that opens with no
    // step waiting is recorded and cancelled.
    void WhenDialogOpens(const std::string& caption, std::function<void(HWND dialog)> step);
    size_t PendingDialogSteps() const { return steps_.size(); }
    const std::vector<std::string>& UnexpectedDialogs() const { return unexpected_; }

private:
    struct DialogStep {
        std::string caption;
        std::function<void(HWND)> step;
    };
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void OnDialogReady(HWND window);
    static void CALLBACK RunStep(HWND, UINT, UINT_PTR timer, DWORD);

    HHOOK hook_ = nullptr;
    std::vector<int> answers_;
    std::vector<ShownBox> boxes_;
    std::vector<DialogStep> steps_;
    std::vector<std::string> unexpected_;
};

// Texts are UTF-8 here, read and written through the W interfaces, so that
// every character reaches the windows whatever the system's code page.

// A click on the dialog's control, sent the way the button sends it; returns
// when the command, and any modal dialog it opened, has ended.
void Press(HWND dialog, int controlId);
void SetText(HWND dialog, int controlId, const std::string& text);
std::string GetText(HWND dialog, int controlId);
// Handles everything already waiting in this thread's queue.
void PumpMessages();
std::string WindowText(HWND window);

int RowCount(HWND listView);
int64_t RowItemData(HWND listView, int row);
std::string CellText(HWND listView, int row, int subitem);
// All seven cells of a row.
std::vector<std::string> RowTexts(HWND listView, int row);
void SelectRow(HWND listView, int row);
// The item data of every row, top to bottom.
std::vector<int64_t> RowIds(HWND listView);

// The user's own gestures on a list view, sent as the mouse and keyboard
// send them: a click on a column's header, a double-click on a row, and a
// key pressed with the list focused.  A key goes through the dialog
// manager of `dialog` first, as a modal loop hands it on (null: straight
// to the list, as the main window's loop does).
void ClickColumnHeader(HWND listView, int column);
void DoubleClickRow(HWND listView, int row);
void PressKey(HWND listView, UINT key, HWND dialog = nullptr);
// The header's sort mark of a column: 1 up, -1 down, 0 none.
int SortMark(HWND listView, int column);
