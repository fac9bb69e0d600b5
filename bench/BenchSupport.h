// Helpers of the benchmark programs.  Their catalogues go into a
// ScratchDirectory (tests/support), the current directory while they run.
//
// Every figure is printed beside its floor, taken in the same run: the
// same work done by the barest code that can do it (the helpers in
// namespace bare), so that the ratio says how much of a cost is ours.
#pragma once
#include <windows.h>
#include <vector>
#include "store/BookData.h"

// Seconds since construction or the last Restart, from the performance counter.
class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart();
    double Seconds() const;

private:
    long long start_;
};

// The median of a few timings, in seconds.
double Median(std::vector<double> seconds);

// "1.23x", or "-" when the floor is missing.
const char* Ratio(double figure, double floor);

// A top-level window of the main window's default size holding a list
// pane of template 105, laid out as the main window lays it out: made by
// makePane (the program's CreateListPane), or a bare dialog when null.
HWND PaneWindow(HWND (*makePane)(HWND parent), HWND& listView);

namespace bare {

// The books' list views, shown with the messages Tomebox sends and nothing
// else: no records, strings or cell buffers in between.
constexpr int kColumns = 7;

// Seven left-aligned columns with their titles and widths, grid lines and
// full-row selection.
void SetUpColumns(HWND listView);
// Drawing held off and the row count announced (rowCount < 0: not known,
// nothing announced).
void HoldDrawing(HWND listView, int rowCount);
// LVM_INSERTITEMW with the first text and the item data, then
// LVM_SETITEMTEXTW for the other six.
void InsertRow(HWND listView, int row, const WCHAR* const (&texts)[kColumns], LPARAM itemData);
// Drawing on again and the whole control invalidated.
void ReleaseDrawing(HWND listView);

// "%d" into the buffer, without the C library's formatting.
const WCHAR* Decimal(int value, WCHAR (&buffer)[12]);
// UTF-8 to UTF-16 through the platform, into the buffer (cut to fit).
const WCHAR* Wide(const char* utf8, int bytes, WCHAR (&buffer)[1024]);

// Columns, drawing held, one row per record in list order (its texts
// converted on the stack), drawing on: the floor of filling a view with a
// list of records.
void FillRows(HWND listView, const BookList& books);

}  // namespace bare
