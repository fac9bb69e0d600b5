#include "listview/Win32ListView.h"

#include <commctrl.h>
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include "listview/BookListView.h"
#include "store/TextEncoding.h"

namespace {

// A row's item data carries its record's whole ID.
static_assert(sizeof(LPARAM) >= sizeof(BookId), "item data must hold a 64-bit ID: Tomebox is a 64-bit program");

// A cell shows at most as many UTF-16 units as a typed field holds.
constexpr int kCellTextLimit = 255;

// A cell's text as the control takes it (and copies): the record's UTF-8
// as UTF-16, at most kCellTextLimit units, never ending between the halves
// of a surrogate pair.  Made on the stack: every row of a large catalogue
// passes here.  No more bytes are converted than can make the units kept
// (a byte or more each), and a sequence cut at that end falls beyond them.
class CellText {
public:
    explicit CellText(std::string_view utf8)
    {
        const int bytes = static_cast<int>(std::min<std::size_t>(utf8.size(), kConverted));
        int units = bytes > 0 ? MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, units_, kConverted) : 0;
        if (units > kCellTextLimit) units = kCellTextLimit;
        if (units > 0 && units_[units - 1] >= 0xD800 && units_[units - 1] <= 0xDBFF) --units;
        units_[units > 0 ? units : 0] = L'\0';
    }
    WCHAR* get() { return units_; }

private:
    static constexpr int kConverted = 4 * kCellTextLimit;
    WCHAR units_[kConverted + 1];
};

// Each row's place in a new order, by its item data: read straight from an
// array when the IDs lie close together, as the program numbers them, else
// from a hash table.  (LVM_SORTITEMSEX would hand the comparison the rows'
// indices, which move while the control sorts.)
class PlacesById {
public:
    explicit PlacesById(const std::vector<BookId>& order)
    {
        if (order.empty()) return;
        const auto [lowest, highest] = std::minmax_element(order.begin(), order.end());
        lowest_ = *lowest;
        const uint64_t span = static_cast<uint64_t>(*highest) - static_cast<uint64_t>(*lowest);
        if (span < 4 * static_cast<uint64_t>(order.size()) + 1024) {
            close_.assign(static_cast<std::size_t>(span) + 1, 0);
            for (std::size_t place = 0; place < order.size(); ++place)
                close_[static_cast<std::size_t>(order[place] - lowest_)] = static_cast<int>(place);
        } else {
            for (std::size_t place = 0; place < order.size(); ++place)
                apart_.emplace(order[place], static_cast<int>(place));
        }
    }

    int Of(BookId id) const
    {
        return close_.empty() ? apart_.at(id) : close_[static_cast<std::size_t>(id - lowest_)];
    }

private:
    BookId lowest_ = 0;
    std::vector<int> close_;
    std::unordered_map<BookId, int> apart_;
};

int CALLBACK ComparePlaces(LPARAM first, LPARAM second, LPARAM places)
{
    const PlacesById& place = *reinterpret_cast<const PlacesById*>(places);
    return place.Of(static_cast<BookId>(first)) - place.Of(static_cast<BookId>(second));
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

int Win32ListView::SelectedRow() const
{
    return static_cast<int>(SendMessageW(control_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int Win32ListView::FindRow(BookId itemData, int after) const
{
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(itemData);
    return static_cast<int>(SendMessageW(control_, LVM_FINDITEMW, after, reinterpret_cast<LPARAM>(&find)));
}

void Win32ListView::InsertRow(int row, std::string_view text, BookId itemData)
{
    CellText cell(text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = 0;
    item.pszText = cell.get();
    item.lParam = static_cast<LPARAM>(itemData);
    SendMessageW(control_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::SetCellText(int row, int subitem, std::string_view text)
{
    CellText cell(text);
    LVITEMW item = {};
    item.iSubItem = subitem;
    item.pszText = cell.get();
    SendMessageW(control_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::DeleteRow(int row)
{
    SendMessageW(control_, LVM_DELETEITEM, row, 0);
}

void Win32ListView::Reorder(const std::vector<BookId>& order)
{
    if (order.size() != static_cast<std::size_t>(Count())) return;
    const PlacesById places(order);
    SendMessageW(control_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&places), reinterpret_cast<LPARAM>(ComparePlaces));
}

void Win32ListView::SelectOnly(int row)
{
    // A single-selection view lets go of the row selected before.
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(control_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(control_, LVM_ENSUREVISIBLE, row, FALSE);
}

void Win32ListView::MarkSortColumn(int column, bool ascending)
{
    HWND header = reinterpret_cast<HWND>(SendMessageW(control_, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < columns; ++i) {
        HDITEMW item = {};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void Win32ListView::ShowCount(std::size_t count)
{
    if (countLabel_) SetWindowTextW(countLabel_, WideText(BookCountText(count)));
}

void Win32ListView::BeginChanges(std::size_t rowsToInsert)
{
    // Otherwise the control recomputes its scroll bars and repaints for
    // every row: twenty times slower under Wine on a large list.
    SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
    if (rowsToInsert > 0) SendMessageW(control_, LVM_SETITEMCOUNT, static_cast<WPARAM>(Count()) + rowsToInsert, 0);
}

void Win32ListView::EndChanges()
{
    SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control_, nullptr, TRUE);
}
