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

bool ConfirmSecondCopy(HWND owner, const std::string& title)
{
    const std::u16string message = u"このISBNの本はすでに登録されています：" + Utf8ToUtf16(title) + u"。追加しますか？";
    return MessageBoxW(owner, WideText(message), L"確認", MB_YESNO) == IDYES;
}

int AskYesNoCancel(HWND owner, const std::u16string& question)
{
    return MessageBoxW(owner, WideText(question), L"確認", MB_YESNOCANCEL);
}

void ShowDone(HWND owner, const std::u16string& text)
{
    MessageBoxW(owner, WideText(text), L"完了", MB_OK);
}
