#include "dialogs/DialogText.h"

std::u16string DialogItemText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return std::u16string();
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int read = GetWindowTextW(control, reinterpret_cast<WCHAR*>(&text[0]), length + 1);
    text.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return text;
}
