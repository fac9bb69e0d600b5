// A report list view of books and the records it shows: the catalogue list
// view, or the list view of a search results window.  Each window owns its
// view; rows and records change only through it.
//
// A row names its record by its item data, the record's ID, whatever the
// order of the rows: every lookup from a row goes through it.  The records
// are also kept in the order of the rows, which is what a sort starts from,
// where a new row goes in a sorted view, and the order an export writes.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>
#include "listview/BookSort.h"
#include "listview/ListViewRows.h"
#include "store/BookData.h"
#include "store/Progress.h"

class BookView {
public:
    explicit BookView(std::unique_ptr<ListViewRows> rows);
    BookView(const BookView&) = delete;
    BookView& operator=(const BookView&) = delete;

    // One row per record, in list order, into an empty view.
    void Show(BookList records);

    // The records, in the order of the rows.
    const BookList& Records() const { return records_; }

    // The record behind a row, by its item data; null for a row the view
    // does not have.
    BookPtr RecordAt(int row) const;
    // The record of the selected row, or null.
    BookPtr SelectedRecord() const;
    bool Shows(const BookPtr& record) const;

    // A new record's row, at its place in the order (last while the view is
    // unsorted), selected and scrolled into view.
    void Add(const BookPtr& record);
    // Many at once, then ordered once: none is selected.  The progress
    // counts the records.
    void AddAll(const BookList& records, const ProgressReport& progress = {});
    // After a record shown here was changed in place: its row is rewritten,
    // moved to its new place in the order, selected and scrolled into view.
    // A record the view does not show is left alone.
    void Changed(const BookPtr& record);
    // The record's row and the record go.
    void Remove(const BookPtr& record);

    // A click on a column's header: sorted by it ascending, or, when it is
    // already, reversed.
    void SortBy(int column);

private:
    // Orders records_ and keys_ by order_, and the rows with them.
    void Arrange();
    // Where a row keyed `key` goes among the sorted rows: after every row
    // that does not sort after it.
    std::size_t SortedPlace(const SortKey& key) const;
    void InsertAt(std::size_t index, const BookPtr& record, SortKey key);
    void ShowCount();

    std::unique_ptr<ListViewRows> rows_;
    BookList records_;
    SortOrder order_;
    // While sorted, the key of each record in records_ under order_.column.
    std::vector<SortKey> keys_;
};
