// The about box, "バージョン情報".
#pragma once
#include <windows.h>

// Opens it modally over the owner; IDOK or IDCANCEL, the button that ended it.
INT_PTR ShowAboutBox(HWND owner);
