// A long step of a command (an import or an export of many books) runs on
// the user-interface thread.  Meanwhile this small window shows how far it
// has come, every window repaints, and the program's other windows take no
// input, as under a modal dialog.
#pragma once
#include <windows.h>
#include <cstddef>
#include <vector>
#include "store/Progress.h"

class ProgressWindow {
public:
    // Made and shown only when the work takes longer than a moment.  From
    // now on the thread's other windows take no input.
    ProgressWindow(HWND owner, const char16_t* caption);
    // The other windows take input again.
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // What is being done now; the bar starts again.
    void Step(const char16_t* what);
    // How far the step has come: the bar moves, and the messages waiting
    // (repaints, a lookup's writes) are handled; input waiting is dropped.
    void Report(std::size_t done, std::size_t total);
    ProgressReport Reporter()
    {
        return [this](std::size_t done, std::size_t total) { Report(done, total); };
    }

private:
    void Show();

    HWND owner_;
    const char16_t* caption_;
    const char16_t* what_ = u"";
    HWND window_ = nullptr;
    std::vector<HWND> disabled_;
    DWORD start_;
};
