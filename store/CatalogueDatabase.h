// The life of Tomebox.sqlite in a run: start-up (open, create, verify,
// upgrade, load) and the close at shutdown.  The two window operations are
// handed in, so that this runs without a window.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <sqlite3.h>
#include "store/Catalogue.h"

// The catalogue's file, in the current directory.
extern const char kCatalogueFileName[];

// The table, as every start-up creates it when it is missing.
extern const char kCreateTableStatement[];

struct WindowOperations {
    std::function<void(const char* message)> showError;  // message box owned by the main window
    std::function<void()> postQuit;                       // PostQuitMessage(0)
};

enum class StartupOutcome {
    Ready,           // the catalogue list holds every row
    Open,            // each of the others: the message was shown, the clean-up
    PrepareLayout,   // done and the quit request posted
    LayoutStep,
    LayoutMismatch,
    Version,
    Load,
};

// Opens Tomebox.sqlite in the current directory into the catalogue, whose
// list is expected empty.
StartupOutcome StartCatalogueDatabase(Catalogue& catalogue, const WindowOperations& window);
void CloseCatalogueDatabase(Catalogue& catalogue, const WindowOperations& window);

// Layout verification over a prepared "PRAGMA TABLE_INFO ('Tomebox');".
struct LayoutCheck {
    uint32_t schemaMask;  // 0xFFF when all twelve columns are as expected
    int lastStep;         // the step result that ended the scan
};
constexpr uint32_t kCompleteSchemaMask = 0xFFF;
LayoutCheck VerifyLayout(sqlite3_stmt* tableInfo);

uint32_t Fnv1a(const char* bytes);

// The copy of a version-0 catalogue that its upgrade keeps beside it, as
// it was; when that name is taken, the copy is
// Tomebox-version0-backup-2.sqlite, -3 and so on.
extern const char kVersion0CopyName[];

// Rewrites a version-0 file in UTF-8 and sets user_version to 1, once it
// has kept a copy of a file with rows; a file at any other version is not
// written.  Returns the version found, or none when it could not be read
// or the rewrite failed (and changed nothing); the copy of a failed
// rewrite is removed again unless the file cannot be shown unchanged.
std::optional<int> UpgradeCatalogueVersion(Catalogue& catalogue);
