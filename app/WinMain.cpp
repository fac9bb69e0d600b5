#include <windows.h>

#include "app/Tomebox.h"
#include "dialogs/MessageBoxes.h"
#include "lookup/LookupWorkers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    StartLookupWorkers(ShowError);
    int exitCode = 0;
    if (StartTomebox(instance, showCommand)) exitCode = RunMessageLoop();
    // A lookup may still be in flight: its workers end before the process.
    StopLookupWorkers();
    return exitCode;
}
