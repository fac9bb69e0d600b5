#include <windows.h>

#include "app/Shell.h"
#include "lookup/LookupWorkers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    StartLookupWorkers();
    int exitCode = 0;
    if (StartTomebox(instance, showCommand)) exitCode = RunMessageLoop();
    // A lookup may still be in flight: its workers end before the process.
    StopLookupWorkers();
    return exitCode;
}
