// A list view as plain rows, for the logic that only sees ListViewRows.
#pragma once
#include <algorithm>
#include <memory>
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
    int sortMark = -1;  // the header's marked column
    bool sortMarkAscending = true;
    std::size_t shownCount = 0;

    int Count() const override { return static_cast<int>(rows.size()); }
    BookId ItemData(int row) const override { return rows.at(static_cast<size_t>(row)).itemData; }
    int SelectedRow() const override
    {
        for (int row = 0; row < Count(); ++row)
            if (rows[static_cast<size_t>(row)].selected) return row;
        return -1;
    }
    int FindRow(BookId itemData, int after) const override
    {
        for (int row = after + 1; row < Count(); ++row)
            if (rows[static_cast<size_t>(row)].itemData == itemData) return row;
        return -1;
    }
    void InsertRow(int row, std::string_view text, BookId itemData) override
    {
        Row inserted{std::vector<std::string>(kBookColumnCount), itemData, false};
        inserted.cells[0] = std::string(text);
        rows.insert(rows.begin() + std::min(row, Count()), inserted);
    }
    void SetCellText(int row, int subitem, std::string_view text) override
    {
        rows.at(static_cast<size_t>(row)).cells.at(static_cast<size_t>(subitem)) = std::string(text);
    }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
    void Reorder(const std::vector<BookId>& order) override
    {
        std::vector<Row> moved;
        for (BookId id : order) moved.push_back(rows.at(static_cast<size_t>(FindRow(id, -1))));
        rows = moved;
    }
    void SelectOnly(int row) override
    {
        for (Row& each : rows) each.selected = false;
        rows.at(static_cast<size_t>(row)).selected = true;
    }
    void MarkSortColumn(int column, bool ascending) override
    {
        sortMark = column;
        sortMarkAscending = ascending;
    }
    void ShowCount(std::size_t count) override { shownCount = count; }
    void BeginChanges(std::size_t) override {}
    void EndChanges() override {}

    std::vector<BookId> ItemDataOfAll() const
    {
        std::vector<BookId> data;
        for (const Row& row : rows) data.push_back(row.itemData);
        return data;
    }
};

// A book view over a fake list view, which stays reachable to look at.
class FakeBookView {
public:
    FakeBookView() : FakeBookView(std::make_unique<FakeListView>()) {}
    FakeListView& rows;
    BookView view;

private:
    explicit FakeBookView(std::unique_ptr<FakeListView> fake) : rows(*fake), view(std::move(fake)) {}
};
