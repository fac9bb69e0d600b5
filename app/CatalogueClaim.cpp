#include "app/CatalogueClaim.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "resources/resource.h"
#include "store/CatalogueDatabase.h"

namespace {

// How long a second copy waits for the first one's window to appear (it
// may be starting at the same moment) before it ends without showing it.
constexpr DWORD kWaitForHolderMilliseconds = 10000;
constexpr DWORD kPollMilliseconds = 50;

// The names of the two objects, from the catalogue file's full path as
// Windows compares paths: case-insensitively.  A hash keeps the name short
// and free of the backslashes that name object namespaces.
std::string ObjectName(const char* suffix)
{
    std::vector<WCHAR> name(MAX_PATH);
    MultiByteToWideChar(CP_ACP, 0, kCatalogueFileName, -1, name.data(), static_cast<int>(name.size()));
    std::vector<WCHAR> path(32768);
    DWORD length = GetFullPathNameW(name.data(), static_cast<DWORD>(path.size()), path.data(), nullptr);
    if (length == 0 || length >= path.size()) length = 0;
    CharUpperBuffW(path.data(), length);
    uint64_t hash = 14695981039346656037ull;
    for (DWORD i = 0; i < length; ++i) {
        hash ^= path[i];
        hash *= 1099511628211ull;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Local\\Tomebox-%016llx%s", static_cast<unsigned long long>(hash), suffix);
    return text;
}

const char kHolderRecordSuffix[] = "-holder";

// Tells later copies which thread holds the file: its windows are theirs
// to find.
HANDLE RecordHolder(const std::string& name)
{
    HANDLE record = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), name.c_str());
    if (!record) return nullptr;
    if (void* view = MapViewOfFile(record, FILE_MAP_WRITE, 0, 0, sizeof(DWORD))) {
        *static_cast<volatile DWORD*>(view) = GetCurrentThreadId();
        UnmapViewOfFile(view);
    }
    return record;
}

DWORD HolderThread(const std::string& name)
{
    DWORD thread = 0;
    HANDLE record = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (!record) return 0;
    if (const void* view = MapViewOfFile(record, FILE_MAP_READ, 0, 0, sizeof(DWORD))) {
        thread = *static_cast<const volatile DWORD*>(view);
        UnmapViewOfFile(view);
    }
    CloseHandle(record);
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

void CatalogueClaim::ReleaseOwnership::operator()(HANDLE mutex) const
{
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

void CatalogueClaim::CloseRecord::operator()(HANDLE mapping) const
{
    CloseHandle(mapping);
}

std::optional<CatalogueClaim> CatalogueClaim::Take(HINSTANCE instance)
{
    const std::string ownerName = ObjectName("");
    const std::string recordName = ObjectName(kHolderRecordSuffix);
    char className[100] = {};
    LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);

    HANDLE owner = CreateMutexA(nullptr, FALSE, ownerName.c_str());
    // Without the mutex nothing can be told: the copy runs, as copies did
    // before there was a claim.
    if (!owner) return CatalogueClaim(nullptr, nullptr);

    // Free, or left by a copy that has ended: this copy holds the file.
    // Held: until the holder's window is shown, or the holder ends.
    for (DWORD waited = 0;; waited += kPollMilliseconds) {
        const DWORD wait = WaitForSingleObject(owner, waited == 0 ? 0 : kPollMilliseconds);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
            return CatalogueClaim(Ownership(owner), HolderRecord(RecordHolder(recordName)));
        if (ShowHolder(recordName, className) || waited >= kWaitForHolderMilliseconds) break;
    }
    CloseHandle(owner);
    return std::nullopt;
}
