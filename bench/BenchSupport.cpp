#include "BenchSupport.h"

#include <commctrl.h>
#include <algorithm>
#include <cstdio>

namespace {

long long Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

void Stopwatch::Restart()
{
    start_ = Counter();
}

double Stopwatch::Seconds() const
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Counter() - start_) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> seconds)
{
    if (seconds.empty()) return 0;
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

const char* Ratio(double figure, double floor)
{
    // A few buffers, so that one printf can hold several ratios.
    static char buffers[8][16];
    static int next = 0;
    char* text = buffers[next++ % 8];
    if (floor <= 0)
        std::snprintf(text, sizeof buffers[0], "-");
    else
        std::snprintf(text, sizeof buffers[0], "%.2fx", figure / floor);
    return text;
}

namespace bare {

void SetUpColumns(HWND listView)
{
    static const struct {
        const char* title;
        int width;
    } columns[kColumns] = {
        {"書名", 200}, {"著者", 100}, {"場所", 100}, {"発行年", 50}, {"発行月", 50}, {"出版者", 100}, {"ISBN", 100},
    };
    for (int i = 0; i < kColumns; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = const_cast<char*>(columns[i].title);
        SendMessageA(listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void HoldDrawing(HWND listView, int rowCount)
{
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    if (rowCount >= 0) SendMessageA(listView, LVM_SETITEMCOUNT, rowCount, 0);
}

void InsertRow(HWND listView, int row, const char* const (&texts)[kColumns], LPARAM itemData)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(texts[0]);
    item.lParam = itemData;
    SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int subitem = 1; subitem < kColumns; ++subitem) {
        LVITEMA cell = {};
        cell.iSubItem = subitem;
        cell.pszText = const_cast<char*>(texts[subitem]);
        SendMessageA(listView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
    }
}

void ReleaseDrawing(HWND listView)
{
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

const char* Decimal(int value, char (&buffer)[12])
{
    char* end = buffer + sizeof buffer - 1;
    *end = '\0';
    char* digits = end;
    // Negated into the negative range, where every int fits.
    int rest = value < 0 ? value : -value;
    do {
        *--digits = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) *--digits = '-';
    return digits;
}

void FillRows(HWND listView, const BookList& books)
{
    SetUpColumns(listView);
    HoldDrawing(listView, static_cast<int>(books.size()));
    char year[12], month[12];
    int row = 0;
    for (const BookPtr& book : books) {
        const BookFields& f = book->Fields();
        const char* const cells[kColumns] = {f.BookName.c_str(), f.Author.c_str(),         f.Place.c_str(),
                                             Decimal(f.Year, year), Decimal(f.Month, month), f.Publisher.c_str(),
                                             f.ISBN.c_str()};
        InsertRow(listView, row++, cells, f.ID);
    }
    ReleaseDrawing(listView);
}

}  // namespace bare
