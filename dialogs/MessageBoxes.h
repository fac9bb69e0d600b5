// Every message box Tomebox shows goes through these: an error with only an
// OK button, the questions it asks before deleting, before adding a second
// copy of a book and before importing copies, and the summary of an import.
#pragma once
#include <windows.h>
#include <string>

// The message (UTF-8) under the caption "エラー", OK only.  Also the box the ISBN
// lookup shows its failures with, from its worker threads.
void ShowError(HWND owner, const char* message);

// "本当に削除してよろしいですか？"; true only for Yes.
bool ConfirmDelete(HWND owner);

// "このISBNの本はすでに登録されています：TITLE。追加しますか？" with the
// catalogued copy's title (UTF-8); true only for Yes.
bool ConfirmSecondCopy(HWND owner, const std::string& title);

// The question (caption "確認") with Yes, No and Cancel: IDYES, IDNO, or
// IDCANCEL for Cancel and a box closed otherwise.
int AskYesNoCancel(HWND owner, const std::u16string& question);

// What a command has done, under the caption "完了", OK only.
void ShowDone(HWND owner, const std::u16string& text);
