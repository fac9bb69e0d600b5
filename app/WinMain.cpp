#include <windows.h>
#include "app/Globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_appInstance = instance;
    return 0;
}
