// ListViewRows over a real SysListView32, through the Unicode list-view
// messages: cells take the records' UTF-8 texts as UTF-16, at most 255
// units of each.
#pragma once
#include <windows.h>
#include "listview/ListViewRows.h"

class Win32ListView : public ListViewRows {
public:
    explicit Win32ListView(HWND control) : control_(control) {}

    HWND handle() const { return control_; }

    int Count() const override;
    BookId ItemData(int row) const override;
    bool IsSelected(int row) const override;
    int FindRow(BookId itemData, int after) const override;
    void InsertRow(int row, const std::string& text, BookId itemData) override;
    void SetCellText(int row, int subitem, const std::string& text) override;
    void DeleteRow(int row) override;

private:
    HWND control_;
};
