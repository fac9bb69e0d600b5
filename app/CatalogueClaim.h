// One running copy of Tomebox per catalogue file.  Two copies on one file
// would each hold records the other has deleted or replaced, and save them
// over each other's; a second start on the same file shows the first copy
// instead.  Copies on different files run side by side.
#pragma once
#include <windows.h>
#include <memory>
#include <optional>

class CatalogueClaim {
public:
    // Claims the catalogue file of the current directory for this thread,
    // before the file is opened, for as long as the claim lives.  None when
    // another copy holds the file: that copy's window has then been brought
    // to the front (unless it showed none for a long while), and this copy
    // is to end.
    static std::optional<CatalogueClaim> Take(HINSTANCE instance);

private:
    struct ReleaseOwnership {
        void operator()(HANDLE mutex) const;
    };
    struct CloseRecord {
        void operator()(HANDLE mapping) const;
    };
    using Ownership = std::unique_ptr<void, ReleaseOwnership>;
    using HolderRecord = std::unique_ptr<void, CloseRecord>;

    CatalogueClaim(Ownership owner, HolderRecord record) : owner_(std::move(owner)), record_(std::move(record)) {}

    Ownership owner_;      // the mutex named after the file, owned by this copy
    HolderRecord record_;  // the shared memory that tells later copies this thread
};
