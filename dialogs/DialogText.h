// The text of a dialog's control, whole and in UTF-16, as the window holds
// it: a fixed buffer would cut it wherever the buffer ends, maybe between
// the halves of a surrogate pair.
#pragma once
#include <windows.h>
#include <string>

std::u16string DialogItemText(HWND dialog, int controlId);
