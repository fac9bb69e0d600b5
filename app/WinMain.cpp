#include <windows.h>

#include "app/CatalogueClaim.h"
#include "app/Tomebox.h"
#include "dialogs/MessageBoxes.h"
#include "lookup/LookupWorkers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // Before the catalogue is opened: a copy already running on it has been
    // shown instead, and this one ends.
    const std::optional<CatalogueClaim> claim = CatalogueClaim::Take(instance);
    if (!claim) return 0;

    StartLookupWorkers(ShowError);
    int exitCode = 0;
    if (StartTomebox(instance, showCommand)) exitCode = RunMessageLoop();
    // A lookup may still be in flight: its workers end before the process.
    StopLookupWorkers();
    return exitCode;
}
