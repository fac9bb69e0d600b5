#include "dialogs/BookForm.h"

#include <vector>
#include "dialogs/CommandContext.h"
#include "dialogs/Globals.h"
#include "dialogs/MessageBoxes.h"
#include "lookup/IsbnSearch.h"
#include "resources/resource.h"

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

// The opener has set the selection index and the results edit flag; the
// results list view is only reached when the form was opened from the
// results.
CommandContext OpenedFrom()
{
    return CommandContext(g_globals.selectionIndex, g_globals.resultsEditFlag,
                          g_globals.resultsEditFlag ? g_globals.resultsWindow : nullptr);
}

void InitialiseForm(HWND form)
{
    DialogBoxes boxes(form);
    CommandContext context = OpenedFrom();
    InitialiseBookForm(boxes, context.get());
}

void SubmitForm(HWND form)
{
    DialogBoxes boxes(form);
    CommandContext context = OpenedFrom();
    FormOutcome outcome = SubmitBookForm(boxes, context.get());
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
    return DialogBoxParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_BOOK_FORM), owner, BookFormProc, 0);
}
