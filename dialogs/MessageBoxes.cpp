#include "dialogs/MessageBoxes.h"

void ShowError(HWND owner, const char* message)
{
    MessageBoxA(owner, message, "エラー", MB_OK);
}

bool ConfirmDelete(HWND owner)
{
    return MessageBoxA(owner, "本当に削除してよろしいですか？", "確認", MB_YESNO) == IDYES;
}
