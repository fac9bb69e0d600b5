// Ends the way WinMain ends, with a lookup still under way, and reports by
// its exit code whether the workers stopped in time:
//   lookup_exit_probe.exe in-flight | message-box | unanswered-write | hung-window
// 0: stopped and returned; 2: stopping took too long; 3: the set-up failed.
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "dialogs/MessageBoxes.h"
#include "lookup/LookupBoundary.h"
#include "lookup/LookupTestSupport.h"
#include "lookup/LookupWorkers.h"
#include "resources/resource.h"

namespace {

bool RequestArrived(BoxCatcher& catcher, size_t before)
{
    return PumpUntil(catcher, [&] { return RequestLog().size() > before; }, 5000);
}

// Any visible message box of another thread, as a worker shows it.
BOOL CALLBACK FindWorkerBox(HWND window, LPARAM found)
{
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && thread != GetCurrentThreadId() && IsWindowVisible(window) &&
        lstrcmpA(className, "#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND WorkerBox()
{
    HWND found = nullptr;
    EnumWindows(FindWorkerBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

void StartLookup(HWND form, const std::u16string& isbn)
{
    SetBoxText(form, IDC_ISBN, isbn);
    PressIsbnSearch(form);
}

// A form on a thread that stops answering once its lookup is sent.
HANDLE hungFormReady = nullptr;

DWORD WINAPI HungFormThread(LPVOID)
{
    HWND form = CreateTestBookForm();
    StartLookup(form, u"slow:300:9784003101018");
    SetEvent(hungFormReady);
    Sleep(INFINITE);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* mode = argc > 1 ? argv[1] : "";
    StartLookupWorkers(ShowError);
    HWND form = CreateTestBookForm();
    if (form == nullptr) return 3;
    const size_t before = RequestLog().size();

    if (std::strcmp(mode, "in-flight") == 0) {
        // Both answers would come long after the end: the book-volume
        // service's after 5 s, the Library's not at all.
        StartLookup(form, u"9784000000163");
        BoxCatcher catcher;
        if (!RequestArrived(catcher, before)) return 3;
    } else if (std::strcmp(mode, "message-box") == 0) {
        // A worker sits in its message box, owned by a form of this thread.
        StartLookup(form, u"404");
        MSG message;
        const DWORD start = GetTickCount();
        while (WorkerBox() == nullptr) {
            if (GetTickCount() - start > 5000) return 3;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(10);
        }
    } else if (std::strcmp(mode, "unanswered-write") == 0) {
        // A worker waits for this thread to take its write into the form.
        StartLookup(form, u"slow:200:9784003101018");
        BoxCatcher catcher;
        if (!RequestArrived(catcher, before)) return 3;
        Sleep(1000);
    } else if (std::strcmp(mode, "hung-window") == 0) {
        // A worker waits for a thread that will never answer.
        hungFormReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, HungFormThread, nullptr, 0, nullptr));
        WaitForSingleObject(hungFormReady, 5000);
        BoxCatcher catcher;
        if (!RequestArrived(catcher, before)) return 3;
        Sleep(1000);
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode);
        return 3;
    }

    const DWORD start = GetTickCount();
    StopLookupWorkers();
    const DWORD took = GetTickCount() - start;
    std::printf("%s: workers stopped in %lu ms; lookups finished: %lu; title box: %s\n", mode, took,
                FinishedVolumeLookups(), Utf8(BoxText(form, IDC_BOOK_NAME)).c_str());
    std::fflush(stdout);
    if (std::strcmp(mode, "message-box") == 0 && WorkerBox() != nullptr) return 2;
    if (std::strcmp(mode, "unanswered-write") == 0 && BoxText(form, IDC_BOOK_NAME) != u"Full Title") return 2;
    return took < 3000 ? 0 : 2;
}
