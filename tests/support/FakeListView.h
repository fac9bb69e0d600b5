// A list view as plain rows, for the logic that only sees ListViewRows.
#pragma once
#include <algorithm>
#include <string>
#include <vector>
#include "listview/BookListView.h"
#include "listview/ListViewRows.h"

class FakeListView : public ListViewRows {
public:
    struct Row {
        std::vector<std::string> cells;
        BookId itemData;
        bool selected;
    };
    std::vector<Row> rows;

    int Count() const override { return static_cast<int>(rows.size()); }
    BookId ItemData(int row) const override { return rows.at(static_cast<size_t>(row)).itemData; }
    bool IsSelected(int row) const override { return rows.at(static_cast<size_t>(row)).selected; }
    int FindRow(BookId itemData, int after) const override
    {
        for (int row = after + 1; row < Count(); ++row)
            if (rows[static_cast<size_t>(row)].itemData == itemData) return row;
        return -1;
    }
    void InsertRow(int row, const std::string& text, BookId itemData) override
    {
        Row inserted{std::vector<std::string>(kBookColumnCount), itemData, false};
        inserted.cells[0] = text;
        rows.insert(rows.begin() + std::min(row, Count()), inserted);
    }
    void SetCellText(int row, int subitem, const std::string& text) override
    {
        rows.at(static_cast<size_t>(row)).cells.at(static_cast<size_t>(subitem)) = text;
    }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }

    // A row as the program would have filled it.
    void Append(const BookData& book)
    {
        const BookRowTexts texts = RowTextsOf(book);
        rows.push_back({std::vector<std::string>(texts.begin(), texts.end()), book.GetID(), false});
    }
    std::vector<BookId> ItemDataOfAll() const
    {
        std::vector<BookId> data;
        for (const Row& row : rows) data.push_back(row.itemData);
        return data;
    }
};
