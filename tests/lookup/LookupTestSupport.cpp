#include "lookup/LookupTestSupport.h"

#include <cstdlib>
#include <fstream>

#include "lookup/IsbnSearch.h"
#include "lookup/LibraryApiHost.h"
#include "lookup/VolumeApiHost.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"

namespace {

TestServer currentServer = TestServer::Trusted;

const char* PortVariable(TestServer server)
{
    switch (server) {
    case TestServer::Trusted: return "TOMEBOX_LOOKUP_PORT";
    case TestServer::Untrusted: return "TOMEBOX_LOOKUP_UNTRUSTED_PORT";
    case TestServer::Closed: return "TOMEBOX_LOOKUP_CLOSED_PORT";
    case TestServer::DefaultPort: return "TOMEBOX_LOOKUP_DEFAULT_PORT";
    }
    return "";
}

INT_PTR CALLBACK TestBookFormProc(HWND form, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ISBN_SEARCH) RunIsbnSearchCommand(form);
        return TRUE;
    }
    return FALSE;
}

BoxCatcher* timerCatcher = nullptr;

void CALLBACK PollFromTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (timerCatcher != nullptr) timerCatcher->Poll();
}

}  // namespace

void UseTestServer(TestServer server)
{
    currentServer = server;
}

bool TestServerRuns(TestServer server)
{
    return std::getenv(PortVariable(server)) != nullptr;
}

int TestServerPort(TestServer server)
{
    const char* port = std::getenv(PortVariable(server));
    return port ? std::atoi(port) : 1;
}

// The test programs' definition of where the lookups go: the server the
// test chose, and no port for the one on 443, exactly as the program.
VolumeApiServer VolumeApi()
{
    return {"127.0.0.1", currentServer == TestServer::DefaultPort ? 0 : TestServerPort(currentServer)};
}

// The Library's own server, waited for a shorter time than the program
// waits, so that its time-out is quick to test.
LibraryApiServer LibraryApi()
{
    const char* port = std::getenv("TOMEBOX_LIBRARY_PORT");
    return {"127.0.0.1", port ? std::atoi(port) : 1, kTestLibraryTimeoutSeconds};
}

std::vector<std::string> RequestLog()
{
    std::vector<std::string> lines;
    const char* path = std::getenv("TOMEBOX_LOOKUP_LOG");
    if (path == nullptr) return lines;
    std::ifstream log(path);  // a Unix path: this is a Winelib program
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

bool RequestLogHas(const std::string& line)
{
    for (const std::string& logged : RequestLog())
        if (logged == line) return true;
    return false;
}

HWND CreateTestBookForm()
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BOOK_FORM), nullptr,
                              TestBookFormProc, 0);
}

void SetBoxText(HWND form, int boxId, const std::u16string& text)
{
    SetDlgItemTextW(form, boxId, WideText(text));
}

std::u16string BoxText(HWND form, int boxId)
{
    WCHAR text[1024] = {};
    GetDlgItemTextW(form, boxId, text, 1024);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

void PressIsbnSearch(HWND form)
{
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDC_ISBN_SEARCH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, IDC_ISBN_SEARCH)));
}

std::string Utf8(const std::u16string& text)
{
    return Utf16ToUtf8(text);
}

BoxCatcher::BoxCatcher(bool workersOnly)
{
    if (workersOnly) {
        skippedThread_ = GetCurrentThreadId();
        return;
    }
    timerCatcher = this;
    timer_ = SetTimer(nullptr, 0, 10, PollFromTimer);
}

BoxCatcher::~BoxCatcher()
{
    if (timer_ == 0) return;
    KillTimer(nullptr, timer_);
    timerCatcher = nullptr;
}

void BoxCatcher::Poll()
{
    EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK BoxCatcher::Visit(HWND window, LPARAM self)
{
    auto catcher = reinterpret_cast<BoxCatcher*>(self);
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || thread == catcher->skippedThread_ || !IsWindowVisible(window))
        return TRUE;
    // Message boxes have the dialog class and their text in control 0xFFFF.
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || GetDlgItem(window, 0xFFFF) == nullptr) return TRUE;
    if (!catcher->answered_.insert(window).second) return TRUE;
    WCHAR caption[256] = {};
    WCHAR text[1024] = {};
    GetWindowTextW(window, caption, 256);
    GetDlgItemTextW(window, 0xFFFF, text, 1024);
    catcher->boxes_.push_back({GetWindow(window, GW_OWNER), thread, Utf8(reinterpret_cast<const char16_t*>(caption)),
                               Utf8(reinterpret_cast<const char16_t*>(text))});
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

bool PumpUntil(BoxCatcher& catcher, const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    bool reached = false;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        catcher.Poll();
        if (done()) {
            reached = true;
            break;
        }
        if (GetTickCount() - start >= milliseconds) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return reached;
}
