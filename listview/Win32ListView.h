// ListViewRows over a real SysListView32, through the Unicode list-view
// messages: cells take the records' UTF-8 texts as UTF-16, at most 255
// units of each.
#pragma once
#include <windows.h>
#include "listview/ListViewRows.h"

class Win32ListView : public ListViewRows {
public:
    // countLabel: the window whose text says how many books the view
    // shows (a status bar, a static text); none when null.
    explicit Win32ListView(HWND control, HWND countLabel = nullptr) : control_(control), countLabel_(countLabel) {}

    int Count() const override;
    BookId ItemData(int row) const override;
    int SelectedRow() const override;
    int FindRow(BookId itemData, int after) const override;
    void InsertRow(int row, std::string_view text, BookId itemData) override;
    void SetCellText(int row, int subitem, std::string_view text) override;
    void DeleteRow(int row) override;
    void Reorder(const std::vector<BookId>& order) override;
    void SelectOnly(int row) override;
    void MarkSortColumn(int column, bool ascending) override;
    void ShowCount(std::size_t count) override;
    void BeginChanges(std::size_t rowsToInsert) override;
    void EndChanges() override;

private:
    HWND control_;
    HWND countLabel_;
};
