#include "listview/BookListView.h"

#include <commctrl.h>
#include "listview/Win32ListView.h"
#include "store/TextEncoding.h"

namespace {

struct ColumnSpec {
    const char* title;
    int width;
};

const ColumnSpec kColumns[kBookColumnCount] = {
    {"書名", 200}, {"著者", 100}, {"場所", 100}, {"発行年", 50},
    {"発行月", 50}, {"出版者", 100}, {"ISBN", 100},
};

}  // namespace

BookRowTexts RowTextsOf(const BookData& book)
{
    const BookFields& f = book.Fields();
    return {f.BookName, f.Author, f.Place, DecimalText(f.Year), DecimalText(f.Month), f.Publisher, f.ISBN};
}

void SetUpBookColumns(HWND listView)
{
    for (int i = 0; i < kBookColumnCount; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(kColumns[i].title);
        SendMessageA(listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void InsertBookRow(ListViewRows& view, int row, const BookData& book)
{
    BookRowTexts texts = RowTextsOf(book);
    view.InsertRow(row, texts[0], book.GetID());
    for (int subitem = 1; subitem < kBookColumnCount; ++subitem)
        view.SetCellText(row, subitem, texts[subitem]);
}

void FillBookRows(ListViewRows& view, const BookList& books)
{
    int row = 0;
    for (const BookPtr& book : books) InsertBookRow(view, row++, *book);
}

void ShowBooks(HWND listView, const BookList& books)
{
    SetUpBookColumns(listView);
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    SendMessageA(listView, LVM_SETITEMCOUNT, books.size(), 0);
    Win32ListView view(listView);
    FillBookRows(view, books);
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

void RewriteBookRow(ListViewRows& view, int row, const BookData& book)
{
    BookRowTexts texts = RowTextsOf(book);
    for (int subitem = 0; subitem < kBookColumnCount; ++subitem)
        view.SetCellText(row, subitem, texts[subitem]);
}

int FindSelectedRow(const ListViewRows& view)
{
    int count = view.Count();
    for (int row = 0; row < count; ++row)
        if (view.IsSelected(row)) return row;
    return -1;
}

void KeepRowsUntilExit(HWND listView)
{
    if (!listView || SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0) <= kRowsFreedQuickly) return;
    ShowWindow(listView, SW_HIDE);
    SetParent(listView, HWND_MESSAGE);
}

int DeleteLastRows(HWND listView, double milliseconds)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const double ticks = milliseconds * static_cast<double>(frequency.QuadPart) / 1000;
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    int rows = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    while (rows > kRowsFreedQuickly) {
        // The last row: no row behind it moves up.
        SendMessageA(listView, LVM_DELETEITEM, --rows, 0);
        QueryPerformanceCounter(&now);
        if (static_cast<double>(now.QuadPart - start.QuadPart) >= ticks) break;
    }
    return rows;
}
