#include "dialogs/ListGestures.h"

#include "dialogs/BookForm.h"
#include "dialogs/DeleteCommand.h"
#include "resources/resource.h"

namespace {

void EditBookOfRow(HWND owner, const BookView& view, int row)
{
    if (BookPtr record = view.RecordAt(row)) OpenBookForm(owner, std::move(record));
}

}  // namespace

void OnBookListNotice(HWND owner, BookView& view, const NMHDR& notice)
{
    if (notice.idFrom != IDC_BOOK_LIST) return;
    switch (notice.code) {
    case LVN_COLUMNCLICK:
        view.SortBy(reinterpret_cast<const NMLISTVIEW&>(notice).iSubItem);
        break;
    case NM_DBLCLK:
        // Beside the rows it is no row's: nothing opens.
        EditBookOfRow(owner, view, reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem);
        break;
    case NM_RETURN:
        EditSelectedBook(owner, view);
        break;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(notice).wVKey == VK_DELETE) RunDeleteCommand(owner, view);
        break;
    }
}

void EditSelectedBook(HWND owner, const BookView& view)
{
    if (BookPtr record = view.SelectedRecord()) OpenBookForm(owner, std::move(record));
}
