// The rows of a report list view as the catalogue logic sees them: no
// window types, so that the logic runs against the real control and
// against a plain fake alike.
#pragma once
#include <string>
#include "store/BookData.h"

class ListViewRows {
public:
    virtual ~ListViewRows() = default;
    virtual int Count() const = 0;
    // The row's item data: the whole ID of the record it shows.
    virtual BookId ItemData(int row) const = 0;
    virtual bool IsSelected(int row) const = 0;
    // The first row after `after` (-1: from the top) whose item data is the
    // ID, or -1.
    virtual int FindRow(BookId itemData, int after) const = 0;
    // Inserts a row at the index with its first cell and item data.
    virtual void InsertRow(int row, const std::string& text, BookId itemData) = 0;
    virtual void SetCellText(int row, int subitem, const std::string& text) = 0;
    virtual void DeleteRow(int row) = 0;
};
