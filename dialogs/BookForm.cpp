#include "dialogs/BookForm.h"

#include "dialogs/CommandContext.h"
#include "dialogs/DialogText.h"
#include "dialogs/Globals.h"
#include "dialogs/MessageBoxes.h"
#include "lookup/IsbnSearch.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"

namespace {

class DialogBoxes : public BookFormBoxes {
public:
    explicit DialogBoxes(HWND form) : form_(form) {}

    std::u16string Text(int box) const override { return DialogItemText(form_, box); }

    int32_t Number(int box) const override
    {
        return static_cast<int32_t>(GetDlgItemInt(form_, box, nullptr, TRUE));
    }

    void SetText(int box, const std::u16string& text) override
    {
        SetDlgItemTextW(form_, box, WideText(text));
    }

private:
    HWND form_;
};

BookFormTarget& TargetOf(HWND form)
{
    return *reinterpret_cast<BookFormTarget*>(GetWindowLongPtrW(form, DWLP_USER));
}

// The form holds the record it was opened on, whatever the other window
// does while it is open.
void InitialiseForm(HWND form, BookFormTarget& target)
{
    SetWindowLongPtrW(form, DWLP_USER, reinterpret_cast<LONG_PTR>(&target));
    DialogBoxes boxes(form);
    target = InitialiseBookForm(boxes, target.record);
}

void SubmitForm(HWND form)
{
    DialogBoxes boxes(form);
    // Asked before the context is made: other windows may change the lists
    // while the question is open.  No returns to the form as typed.
    const BookPtr copy = CataloguedCopy(boxes, TargetOf(form), g_globals.catalogue.books);
    if (copy && !ConfirmSecondCopy(form, copy->GetBookName())) return;
    RecordCommandContext context = CurrentCommandContext();
    FormOutcome outcome = SubmitBookForm(boxes, TargetOf(form), context);
    if (outcome == FormOutcome::Saved) {
        EndDialog(form, 1);
        return;
    }
    // The form stays open with what was typed.
    ShowError(form, FormOutcomeMessage(outcome));
}

INT_PTR CALLBACK BookFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        try {
            InitialiseForm(form, *reinterpret_cast<BookFormTarget*>(lParam));
        } catch (...) {
            // The boxes stay as far as they got.
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

INT_PTR OpenBookForm(HWND owner, BookPtr record)
{
    // What this opening works on, for as long as its modal loop runs.
    BookFormTarget target;
    target.record = std::move(record);
    return DialogBoxParamW(g_globals.instance, MAKEINTRESOURCEW(IDD_BOOK_FORM), owner, BookFormProc,
                           reinterpret_cast<LPARAM>(&target));
}
