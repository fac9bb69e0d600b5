#include "BenchSupport.h"

#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "resources/resource.h"

namespace {

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

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

HWND PaneWindow(HWND (*makePane)(HWND parent), HWND& listView)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = "BENCH_PANE_WINDOW";
        registered = RegisterClassA(&windowClass) != 0;
    }
    HWND window = CreateWindowExA(0, "BENCH_PANE_WINDOW", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT,
                                  0, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    HWND pane = makePane ? makePane(window)
                         : CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LIST_PANE), window, InertProc, 0);
    RECT client;
    GetClientRect(window, &client);
    const int top = GetSystemMetrics(SM_CYMENU) + 10;
    MoveWindow(pane, 0, top, client.right, client.bottom - top, FALSE);
    listView = GetDlgItem(pane, IDC_BOOK_LIST);
    MoveWindow(listView, 0, 0, client.right, client.bottom - top, FALSE);
    ShowWindow(pane, SW_SHOW);
    return window;
}

namespace bare {

void SetUpColumns(HWND listView)
{
    static const struct {
        const WCHAR* title;
        int width;
    } columns[kColumns] = {
        {L"書名", 200}, {L"著者", 100}, {L"場所", 100}, {L"発行年", 50}, {L"発行月", 50}, {L"出版者", 100}, {L"ISBN", 100},
    };
    for (int i = 0; i < kColumns; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = const_cast<WCHAR*>(columns[i].title);
        SendMessageW(listView, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void HoldDrawing(HWND listView, int rowCount)
{
    SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    if (rowCount >= 0) SendMessageW(listView, LVM_SETITEMCOUNT, rowCount, 0);
}

void InsertRow(HWND listView, int row, const WCHAR* const (&texts)[kColumns], LPARAM itemData)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<WCHAR*>(texts[0]);
    item.lParam = itemData;
    SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int subitem = 1; subitem < kColumns; ++subitem) {
        LVITEMW cell = {};
        cell.iSubItem = subitem;
        cell.pszText = const_cast<WCHAR*>(texts[subitem]);
        SendMessageW(listView, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
    }
}

void ReleaseDrawing(HWND listView)
{
    SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

const WCHAR* Decimal(int value, WCHAR (&buffer)[12])
{
    WCHAR* end = buffer + 11;
    *end = L'\0';
    WCHAR* digits = end;
    // Negated into the negative range, where every int fits.
    int rest = value < 0 ? value : -value;
    do {
        *--digits = static_cast<WCHAR>(L'0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) *--digits = L'-';
    return digits;
}

const WCHAR* Wide(const char* utf8, int bytes, WCHAR (&buffer)[1024])
{
    const int units = bytes > 0 ? MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, buffer, 1023) : 0;
    buffer[units > 0 ? units : 0] = L'\0';
    return buffer;
}

void FillRows(HWND listView, const BookList& books)
{
    SetUpColumns(listView);
    HoldDrawing(listView, static_cast<int>(books.size()));
    WCHAR year[12], month[12];
    static WCHAR texts[5][1024];
    auto wide = [](const std::string& text, WCHAR(&buffer)[1024]) {
        return Wide(text.data(), static_cast<int>(text.size()), buffer);
    };
    int row = 0;
    for (const BookPtr& book : books) {
        const BookFields& f = book->Fields();
        const WCHAR* const cells[kColumns] = {wide(f.BookName, texts[0]), wide(f.Author, texts[1]),
                                              wide(f.Place, texts[2]),    Decimal(f.Year, year),
                                              Decimal(f.Month, month),    wide(f.Publisher, texts[3]),
                                              wide(f.ISBN, texts[4])};
        InsertRow(listView, row++, cells, f.ID);
    }
    ReleaseDrawing(listView);
}

}  // namespace bare
