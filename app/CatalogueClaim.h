// One running copy of Tomebox per catalogue file.  Two copies on one file
// would each hold records the other has deleted or replaced, and save them
// over each other's; a second start on the same file, by whatever path it
// reaches the file, shows the first copy instead.  Copies on different files
// run side by side.
#pragma once
#include <windows.h>
#include <memory>
#include <optional>

class CatalogueClaim {
public:
    // Claims the catalogue file of the current directory for this thread,
    // before SQLite opens it (the file is made, empty, when missing), until
    // the claim is destroyed on this same thread.  None when another copy
    // holds the file: that copy's window has then been brought to the front
    // (unless it showed none for a long while), and this copy is to end.
    static std::optional<CatalogueClaim> Take(HINSTANCE instance);

    // A kernel object's handle, closed with its guard; null is none.
    struct CloseHandleDeleter {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    using Handle = std::unique_ptr<void, CloseHandleDeleter>;
    // A mutex this thread owns, released before it is closed: the file is
    // free for a later copy at once, not only once this process has gone.
    struct ReleaseMutexDeleter {
        void operator()(HANDLE mutex) const { ReleaseMutex(mutex); CloseHandle(mutex); }
    };
    using OwnedMutex = std::unique_ptr<void, ReleaseMutexDeleter>;

private:
    CatalogueClaim(OwnedMutex owner, Handle record) : owner_(std::move(owner)), record_(std::move(record)) {}

    OwnedMutex owner_;  // the mutex named after the file, owned by this thread
    Handle record_;     // the shared memory that tells later copies this thread
};
