#include "listview/Win32ListView.h"

#include <commctrl.h>
#include "store/TextEncoding.h"

namespace {

// A row's item data carries its record's whole ID.
static_assert(sizeof(LPARAM) >= sizeof(BookId), "item data must hold a 64-bit ID: Tomebox is a 64-bit program");

// A cell shows at most as many UTF-16 units as a typed field holds.
constexpr std::size_t kCellTextLimit = 255;

// The control copies the text.
std::u16string CellText(const std::string& text)
{
    return CutUtf16Text(Utf8ToUtf16(text), kCellTextLimit);
}

}  // namespace

int Win32ListView::Count() const
{
    return static_cast<int>(SendMessageW(control_, LVM_GETITEMCOUNT, 0, 0));
}

BookId Win32ListView::ItemData(int row) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = 0;
    SendMessageW(control_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<BookId>(item.lParam);
}

bool Win32ListView::IsSelected(int row) const
{
    return SendMessageW(control_, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
}

int Win32ListView::FindRow(BookId itemData, int after) const
{
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(itemData);
    return static_cast<int>(SendMessageW(control_, LVM_FINDITEMW, after, reinterpret_cast<LPARAM>(&find)));
}

void Win32ListView::InsertRow(int row, const std::string& text, BookId itemData)
{
    std::u16string cell = CellText(text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = 0;
    item.pszText = const_cast<WCHAR*>(WideText(cell));
    item.lParam = static_cast<LPARAM>(itemData);
    SendMessageW(control_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::SetCellText(int row, int subitem, const std::string& text)
{
    std::u16string cell = CellText(text);
    LVITEMW item = {};
    item.iSubItem = subitem;
    item.pszText = const_cast<WCHAR*>(WideText(cell));
    SendMessageW(control_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::DeleteRow(int row)
{
    SendMessageW(control_, LVM_DELETEITEM, row, 0);
}
