#include "listview/Win32ListView.h"

#include <commctrl.h>
#include <cstring>
#include "store/TextEncoding.h"

namespace {

// The control copies the text; the buffer only bounds it to 255 bytes
// without splitting a double-byte character.
struct CellBuffer {
    explicit CellBuffer(const std::string& text)
    {
        if (text.size() < sizeof bytes) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            return;
        }
        std::string cut = CutAnsiText(text, sizeof bytes - 1);
        std::memcpy(bytes, cut.c_str(), cut.size() + 1);
    }
    char bytes[256];
};

}  // namespace

int Win32ListView::Count() const
{
    return static_cast<int>(SendMessageA(control_, LVM_GETITEMCOUNT, 0, 0));
}

int32_t Win32ListView::ItemData(int row) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = 0;
    SendMessageA(control_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int32_t>(item.lParam);
}

bool Win32ListView::IsSelected(int row) const
{
    return SendMessageA(control_, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
}

void Win32ListView::InsertRow(int row, const std::string& text, int32_t itemData)
{
    CellBuffer buffer(text);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = 0;
    item.pszText = buffer.bytes;
    item.lParam = itemData;
    SendMessageA(control_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::SetCellText(int row, int subitem, const std::string& text)
{
    CellBuffer buffer(text);
    LVITEMA item = {};
    item.iSubItem = subitem;
    item.pszText = buffer.bytes;
    SendMessageA(control_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::DeleteRow(int row)
{
    SendMessageA(control_, LVM_DELETEITEM, row, 0);
}
