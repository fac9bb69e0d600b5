#include "app/CatalogueClaim.h"

#include <cstdio>
#include <string>
#include "resources/resource.h"
#include "store/CatalogueDatabase.h"

namespace {

using Handle = CatalogueClaim::Handle;

// How long a second copy waits for the first one's window to appear (it
// may be starting at the same moment) before it ends without showing it.
constexpr DWORD kWaitForHolderMilliseconds = 10000;
constexpr DWORD kPollMilliseconds = 50;

// The claim's name for the catalogue file of the current directory: the
// serial number of its volume and its index there, the same whichever path
// reaches the file (another drive letter, a short name, a link, other
// case).  A missing file is made, as SQLite's open would make it, and
// shared entirely so that SQLite opens it afterwards.  Empty when the file
// cannot be opened.
std::string ClaimName()
{
    WCHAR fileName[MAX_PATH] = {};
    MultiByteToWideChar(CP_UTF8, 0, kCatalogueFileName, -1, fileName, MAX_PATH);
    const HANDLE opened = CreateFileW(fileName, FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return {};
    const Handle file(opened);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info)) return {};
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Tomebox-%08X-%08X%08X", static_cast<unsigned>(info.dwVolumeSerialNumber),
                  static_cast<unsigned>(info.nFileIndexHigh), static_cast<unsigned>(info.nFileIndexLow));
    return name;
}

// Tells later copies which thread holds the file: its windows are theirs
// to find.
Handle RecordHolder(const std::string& name)
{
    Handle record(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), name.c_str()));
    if (!record) return record;
    if (void* view = MapViewOfFile(record.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD))) {
        *static_cast<volatile DWORD*>(view) = GetCurrentThreadId();
        UnmapViewOfFile(view);
    }
    return record;
}

DWORD HolderThread(const std::string& name)
{
    DWORD thread = 0;
    const Handle record(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    if (!record) return 0;
    if (const void* view = MapViewOfFile(record.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD))) {
        thread = *static_cast<const volatile DWORD*>(view);
        UnmapViewOfFile(view);
    }
    return thread;
}

struct MainWindowSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK KeepMainWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<MainWindowSearch*>(lParam);
    char className[100] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// Brings the holder's main window to the front, or what it shows in front
// of it: a dialog, or a message box of its start-up.  False while the
// holder has no main window yet.
bool ShowHolder(const std::string& recordName, const char* className)
{
    const DWORD thread = HolderThread(recordName);
    if (!thread) return false;
    MainWindowSearch search{className, nullptr};
    EnumThreadWindows(thread, KeepMainWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(search.found));
    return true;
}

}  // namespace

std::optional<CatalogueClaim> CatalogueClaim::Take(HINSTANCE instance)
{
    const std::string name = ClaimName();
    // Without the file or the mutex nothing can be told: the copy runs, as
    // copies did before there was a claim (and SQLite reports a file it
    // cannot open).
    Handle mutex(name.empty() ? nullptr : CreateMutexA(nullptr, FALSE, name.c_str()));
    if (!mutex) return CatalogueClaim(nullptr, nullptr);

    const std::string recordName = name + "-holder";
    char className[100] = {};
    LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);
    // Free, or left by a copy that has ended: this copy holds the file.
    // Held: until the holder's window is shown, or the holder ends.
    for (DWORD waited = 0;; waited += kPollMilliseconds) {
        const DWORD wait = WaitForSingleObject(mutex.get(), waited == 0 ? 0 : kPollMilliseconds);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
            return CatalogueClaim(OwnedMutex(mutex.release()), RecordHolder(recordName));
        if (ShowHolder(recordName, className) || waited >= kWaitForHolderMilliseconds) return std::nullopt;
    }
}
