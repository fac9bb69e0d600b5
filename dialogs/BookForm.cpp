#include "dialogs/BookForm.h"

#include <vector>
#include "app/CommandBar.h"
#include "app/ErrorBox.h"
#include "app/Globals.h"
#include "dialogs/BookFormLogic.h"
#include "listview/Win32ListView.h"
#include "lookup/IsbnSearch.h"
#include "resources/resource.h"
#include "store/RecordStatements.h"

namespace {

class DialogBoxes : public BookFormBoxes {
public:
    explicit DialogBoxes(HWND form) : form_(form) {}

    // Read whole, so that the cut to the field size can fall on a
    // character boundary instead of wherever a fixed buffer ends.
    std::string Text(int box) const override
    {
        int length = GetWindowTextLengthA(GetDlgItem(form_, box));
        std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        GetDlgItemTextA(form_, box, text.data(), static_cast<int>(text.size()));
        return text.data();
    }

    int32_t Number(int box) const override
    {
        return static_cast<int32_t>(GetDlgItemInt(form_, box, nullptr, TRUE));
    }

    void SetText(int box, const std::string& text) override
    {
        SetDlgItemTextA(form_, box, text.c_str());
    }

private:
    HWND form_;
};

// The globals of this opening, with the two list views behind them.  The
// results view is only reached when the form was opened from the results.
struct OpenedFrom {
    Win32ListView catalogueView{CatalogueListView()};
    Win32ListView resultsView{g_resultsEditFlag ? GetDlgItem(g_resultsWindow, IDC_BOOK_LIST) : nullptr};
    BookFormContext context{g_selectionIndex, g_resultsEditFlag, g_catalogue, g_hits,
                            catalogueView, resultsView,
                            [](SaveMode mode, std::shared_ptr<BookData> book) {
                                return SaveBookData(mode, std::move(book));
                            }};
};

void InitialiseForm(HWND form)
{
    DialogBoxes boxes(form);
    OpenedFrom opened;
    InitialiseBookForm(boxes, opened.context);
}

void SubmitForm(HWND form)
{
    DialogBoxes boxes(form);
    OpenedFrom opened;
    FormOutcome outcome = SubmitBookForm(boxes, opened.context);
    if (outcome == FormOutcome::Saved) {
        EndDialog(form, 1);
        return;
    }
    // The form stays open with what was typed.
    ShowError(form, FormOutcomeMessage(outcome));
}

INT_PTR CALLBACK BookFormProc(HWND form, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        try {
            InitialiseForm(form);
        } catch (...) {
            // The boxes stay as far as they got; OK looks the record up again.
        }
        return TRUE;
    case WM_COMMAND:
        try {
            switch (LOWORD(wParam)) {
            case IDOK: SubmitForm(form); break;
            case IDCANCEL: EndDialog(form, 2); break;
            case IDC_ISBN_SEARCH: RunIsbnSearchCommand(form); break;
            }
        } catch (...) {
            // No exception may reach the dialog manager; the form stays open.
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR OpenBookForm(HWND owner)
{
    return DialogBoxParamA(g_appInstance, MAKEINTRESOURCEA(IDD_BOOK_FORM), owner, BookFormProc, 0);
}
