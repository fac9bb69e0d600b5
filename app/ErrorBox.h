// The two kinds of message box Tomebox shows: an error with only an OK
// button, and the one question it asks before deleting.
#pragma once
#include <windows.h>

void ShowError(HWND owner, const char* message);

// "本当に削除してよろしいですか？"; true only for Yes.
bool ConfirmDelete(HWND owner);
