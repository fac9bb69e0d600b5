// The Win32 half of the ISBN lookup: the worker threads that run the
// continuations, and the form operations the continuations call.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "lookup/LookupBoundary.h"
#include "lookup/LookupWorkers.h"

namespace {

// Two lookups may each hold a worker in a message box while others answer.
constexpr int kWorkerCount = 4;
// How long the end of the program waits for workers that are still busy.
constexpr DWORD kStopWaitMilliseconds = 2000;

// The running workers.  Kept here, not with the program's shared state:
// they belong to the lookup alone, and the continuations read them from
// the workers' own threads.
struct WorkerPool {
    std::mutex mutex;  // held by Start and Stop
    std::vector<HANDLE> threads;
    std::vector<DWORD> threadIds;
    std::atomic<bool> stopping{false};
    std::atomic<LookupFailureBox> showFailure{nullptr};
};
WorkerPool s_pool;

DWORD WINAPI WorkerMain(LPVOID)
{
    try {
        RunLookupQueue();
    } catch (...) {
    }
    return 0;
}

BOOL CALLBACK CloseMessageBox(HWND window, LPARAM)
{
    char className[16] = {};
    if (GetClassNameA(window, className, sizeof className) && lstrcmpA(className, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

}  // namespace

void WriteFormBox(LookupFormHandle form, int boxId, const std::u16string& text) noexcept
{
    SetDlgItemTextW(reinterpret_cast<HWND>(form), boxId, reinterpret_cast<LPCWSTR>(text.c_str()));
}

std::u16string ReadFormBox(LookupFormHandle form, int boxId) noexcept
{
    try {
        HWND box = GetDlgItem(reinterpret_cast<HWND>(form), boxId);
        std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, u'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(box, reinterpret_cast<LPWSTR>(&text[0]), static_cast<int>(text.size()))));
        return text;
    } catch (...) {
        return {};  // out of memory: the box is read as empty
    }
}

void ShowLookupFailure(LookupFormHandle form, LookupFailure failure) noexcept
{
    HWND owner = reinterpret_cast<HWND>(form);
    // A failure that arrives after its form has closed, or while the program
    // ends, is not shown: the box would stand alone, owned by nothing.
    const LookupFailureBox show = s_pool.showFailure;
    if (s_pool.stopping || !show || !IsWindow(owner)) return;
    show(owner, failure == LookupFailure::Request ? "HTTPリクエストに失敗しました"
                                                  : "リクエスト結果の処理に失敗しました");
}

void StartLookupWorkers(LookupFailureBox showFailure)
{
    std::lock_guard<std::mutex> lock(s_pool.mutex);
    s_pool.showFailure = showFailure;
    if (!s_pool.threads.empty()) return;
    InstallLookupScheduler();
    s_pool.stopping = false;
    OpenLookupQueue();
    for (int i = 0; i < kWorkerCount; ++i) {
        DWORD id = 0;
        HANDLE thread = CreateThread(nullptr, 0, WorkerMain, nullptr, 0, &id);
        if (thread == nullptr) continue;
        s_pool.threads.push_back(thread);
        s_pool.threadIds.push_back(id);
    }
}

void StopLookupWorkers()
{
    std::lock_guard<std::mutex> lock(s_pool.mutex);
    if (s_pool.threads.empty()) return;
    s_pool.stopping = true;
    CloseLookupQueue();
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<HANDLE> busy;
        std::vector<DWORD> busyIds;
        for (size_t i = 0; i < s_pool.threads.size(); ++i) {
            if (WaitForSingleObject(s_pool.threads[i], 0) == WAIT_OBJECT_0) continue;
            busy.push_back(s_pool.threads[i]);
            busyIds.push_back(s_pool.threadIds[i]);
        }
        const DWORD waited = GetTickCount() - start;
        if (busy.empty() || waited >= kStopWaitMilliseconds) break;
        // A worker may sit in one of its message boxes ...
        for (DWORD id : busyIds) EnumThreadWindows(id, CloseMessageBox, 0);
        // ... or wait for this thread: a write into a form of this thread,
        // or a message box that disables or enables its owner.  Sent
        // messages are handled; posted ones stay for nobody.
        MsgWaitForMultipleObjects(static_cast<DWORD>(busy.size()), busy.data(), FALSE,
                                  std::min<DWORD>(20, kStopWaitMilliseconds - waited), QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    // A worker still busy now waits on a window whose thread has stopped
    // answering; it is left to the end of the process.
    for (HANDLE thread : s_pool.threads) CloseHandle(thread);
    s_pool.threads.clear();
    s_pool.threadIds.clear();
}
