// The rows of a report list view as the catalogue logic sees them: no
// window types, so that the logic runs against the real control and
// against a plain fake alike.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "store/BookData.h"

class ListViewRows {
public:
    virtual ~ListViewRows() = default;
    virtual int Count() const = 0;
    // The row's item data: the whole ID of the record it shows.
    virtual BookId ItemData(int row) const = 0;
    // The selected row (the views select one at most), or -1.
    virtual int SelectedRow() const = 0;
    // The first row after `after` (-1: from the top) whose item data is the
    // ID, or -1.
    virtual int FindRow(BookId itemData, int after) const = 0;
    // Inserts a row at the index with its first cell and item data.
    virtual void InsertRow(int row, std::string_view text, BookId itemData) = 0;
    virtual void SetCellText(int row, int subitem, std::string_view text) = 0;
    virtual void DeleteRow(int row) = 0;
    // Puts the rows in the order of their item data in the list, which
    // names each row's once.
    virtual void Reorder(const std::vector<BookId>& order) = 0;
    // Selects this row alone, focused and scrolled into view.
    virtual void SelectOnly(int row) = 0;
    // The header's mark of the column the rows are sorted by (-1: none).
    virtual void MarkSortColumn(int column, bool ascending) = 0;
    // Says how many books the view shows, where its window says it.
    virtual void ShowCount(std::size_t count) = 0;
    // Around many rows changed at once: drawing is held back between them.
    virtual void BeginChanges(std::size_t rowsToInsert) = 0;
    virtual void EndChanges() = 0;
};
