#include "listview/BookListView.h"

#include <commctrl.h>
#include "listview/Win32ListView.h"
#include "store/TextEncoding.h"

namespace {

struct ColumnSpec {
    const WCHAR* title;
    int width;
};

const ColumnSpec kColumns[kBookColumnCount] = {
    {L"書名", 200}, {L"著者", 100}, {L"場所", 100}, {L"発行年", 50},
    {L"発行月", 50}, {L"出版者", 100}, {L"ISBN", 100},
};

// Each cell's text in turn (year and month in decimal, 0 shown as "0"),
// without copying the record's: every row of a large catalogue passes here.
template <typename Cell>
void ForEachCell(const BookData& book, Cell cell)
{
    const BookFields& f = book.Fields();
    cell(kTitleColumn, std::string_view(f.BookName));
    cell(kAuthorColumn, std::string_view(f.Author));
    cell(kPlaceColumn, std::string_view(f.Place));
    cell(kYearColumn, std::string_view(DecimalText(f.Year)));
    cell(kMonthColumn, std::string_view(DecimalText(f.Month)));
    cell(kPublisherColumn, std::string_view(f.Publisher));
    cell(kIsbnColumn, std::string_view(f.ISBN));
}

}  // namespace

int ScaledPixels(int pixelsAt96, int dpi)
{
    return MulDiv(pixelsAt96, dpi, 96);
}

void SetUpBookColumns(HWND listView, int dpi)
{
    for (int i = 0; i < kBookColumnCount; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = ScaledPixels(kColumns[i].width, dpi);
        column.pszText = const_cast<WCHAR*>(kColumns[i].title);
        SendMessageW(listView, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void InsertBookRow(ListViewRows& view, int row, const BookData& book)
{
    ForEachCell(book, [&](int column, std::string_view text) {
        if (column == kTitleColumn)
            view.InsertRow(row, text, book.GetID());
        else
            view.SetCellText(row, column, text);
    });
}

void FillBookRows(ListViewRows& view, const BookList& books)
{
    int row = 0;
    for (const BookPtr& book : books) InsertBookRow(view, row++, *book);
}

void RewriteBookRow(ListViewRows& view, int row, const BookData& book)
{
    ForEachCell(book, [&](int column, std::string_view text) { view.SetCellText(row, column, text); });
}

void DeleteRowsOf(ListViewRows& view, BookId id)
{
    // Each search starts again before the deleted row: the rows behind it
    // have moved up.
    for (int row = view.FindRow(id, -1); row != -1; row = view.FindRow(id, row - 1)) view.DeleteRow(row);
}

std::u16string BookCountText(std::size_t count)
{
    std::u16string digits;
    for (int place = 0; place == 0 || count > 0; ++place, count /= 10) {
        if (place > 0 && place % 3 == 0) digits.insert(digits.begin(), u',');
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + count % 10));
    }
    return digits + u" 冊";
}

std::unique_ptr<BookView> MakeBookView(HWND listView, HWND countLabel, int dpi)
{
    SetUpBookColumns(listView, dpi);
    return std::make_unique<BookView>(std::make_unique<Win32ListView>(listView, countLabel));
}

void KeepRowsUntilExit(HWND listView)
{
    if (!listView || SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0) <= kRowsFreedQuickly) return;
    ShowWindow(listView, SW_HIDE);
    SetParent(listView, HWND_MESSAGE);
}

int DeleteLastRows(HWND listView, double milliseconds)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const double ticks = milliseconds * static_cast<double>(frequency.QuadPart) / 1000;
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    int rows = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    while (rows > kRowsFreedQuickly) {
        // The last row: no row behind it moves up.
        SendMessageW(listView, LVM_DELETEITEM, --rows, 0);
        QueryPerformanceCounter(&now);
        if (static_cast<double>(now.QuadPart - start.QuadPart) >= ticks) break;
    }
    return rows;
}
