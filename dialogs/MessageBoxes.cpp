#include "dialogs/MessageBoxes.h"

#include "store/TextEncoding.h"

void ShowError(HWND owner, const char* message)
{
    MessageBoxW(owner, WideText(Utf8ToUtf16(message)), L"エラー", MB_OK);
}

bool ConfirmDelete(HWND owner)
{
    return MessageBoxW(owner, L"本当に削除してよろしいですか？", L"確認", MB_YESNO) == IDYES;
}
