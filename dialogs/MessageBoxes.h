// Every message box Tomebox shows goes through these two: an error with
// only an OK button, and the one question it asks before deleting.
#pragma once
#include <windows.h>

// The message (UTF-8) under the caption "エラー", OK only.  Also the box the ISBN
// lookup shows its failures with, from its worker threads.
void ShowError(HWND owner, const char* message);

// "本当に削除してよろしいですか？"; true only for Yes.
bool ConfirmDelete(HWND owner);
