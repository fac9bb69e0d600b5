// The report list views of books, both of them: the catalogue list view of
// the list pane and the list view of a search results window.  Columns,
// cells, rows and the count of books.
#pragma once
#include <windows.h>
#include <string>
#include <memory>
#include "listview/BookView.h"
#include "listview/ListViewRows.h"
#include "store/BookData.h"

constexpr int kBookColumnCount = 7;
enum BookColumn {
    kTitleColumn, kAuthorColumn, kPlaceColumn, kYearColumn, kMonthColumn, kPublisherColumn, kIsbnColumn,
};

// A pixel figure given for 96 DPI, at the system's DPI (rounded as MulDiv
// rounds).  Dialog units grow with the font by themselves; pixels do not.
int ScaledPixels(int pixelsAt96, int dpi);

// Seven columns, their widths at the DPI, grid lines and full-row
// selection.  Once per control.
void SetUpBookColumns(HWND listView, int dpi);

// One row per record, in list order, each carrying its record's ID.
void FillBookRows(ListViewRows& view, const BookList& books);

// Appends a record's row at the given index.
void InsertBookRow(ListViewRows& view, int row, const BookData& book);

// Rewrites all seven cells of a row.
void RewriteBookRow(ListViewRows& view, int row, const BookData& book);

// Every row that shows the record, found by its ID: deleted.
void DeleteRowsOf(ListViewRows& view, BookId id);

// How a view says the number of its books: "1,234 冊".
std::u16string BookCountText(std::size_t count);

// The view of a fresh list view control: seven columns at the DPI, no rows
// yet; countLabel (null for none) says how many it shows.
std::unique_ptr<BookView> MakeBookView(HWND listView, HWND countLabel, int dpi);

// Freeing rows.  Wine's list view frees the rows of a destroyed control one
// by one, looking each up among all the rows left: time grows with the
// square of the count, about 2 s of a frozen program for 100,000 rows,
// a few milliseconds for this many.
constexpr int kRowsFreedQuickly = 1000;

// For a window that goes with the end of the program: a list view holding
// more rows than that is taken out of it (hidden, among the message-only
// windows), so that destroying the window does not free the rows one by
// one; the end of the process releases them all at once.
void KeepRowsUntilExit(HWND listView);

// Deletes rows from the end, drawing held off, until about `milliseconds`
// have passed or kRowsFreedQuickly rows are left; returns the rows left.
// A slice of freeing that leaves the program answering in between.
int DeleteLastRows(HWND listView, double milliseconds);
