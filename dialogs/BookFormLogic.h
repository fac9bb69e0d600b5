// The book form's decisions, apart from the window: what the boxes start
// with, what OK saves, which identifier a new record gets, and which lists
// and rows change after the database has taken the change.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include "listview/ListViewRows.h"
#include "store/BookData.h"
#include "store/RecordStatements.h"

// The form's edit boxes, known by their control ids.
class BookFormBoxes {
public:
    virtual ~BookFormBoxes() = default;
    // The whole text of the box, in the system code page.
    virtual std::string Text(int box) const = 0;
    // The box read as a signed whole number; 0 when it holds none.
    virtual int32_t Number(int box) const = 0;
    virtual void SetText(int box, const std::string& text) = 0;
};

// Longest text a record field takes from a box, in bytes.
constexpr std::size_t kFormTextLimit = 255;

using SaveRecord = std::function<bool(SaveMode, std::shared_ptr<BookData>)>;

// What the form works on in one opening.
struct BookFormContext {
    int selectionIndex;     // -1: a new record
    bool resultsEditFlag;   // opened from the search results
    BookList& catalogue;
    const BookList& hits;
    ListViewRows& catalogueView;
    ListViewRows& resultsView;  // used only with resultsEditFlag
    SaveRecord save;
};

enum class FormOutcome { Saved, TitleMissing, NoFreeId, SaveFailed, RecordMissing };

// The sentence shown for an outcome other than Saved.
const char* FormOutcomeMessage(FormOutcome outcome);

// One more than the largest ID in the list (0 for an empty list); none when
// the largest is already the largest 32-bit integer.
std::optional<int32_t> NextBookId(const BookList& catalogue);

// The record behind the row, looked up by the row's item data in the list;
// null for a row the view does not have or an ID no record carries.
BookPtr RecordBehindRow(const ListViewRows& view, int row, const BookList& books);

// Writes the eleven values into the boxes (year and month in decimal).
void ShowRecordInBoxes(BookFormBoxes& boxes, const BookData& book);

// The values of the boxes, each text cut to kFormTextLimit bytes on a
// character boundary; ID left 0.
BookFields ReadFormValues(const BookFormBoxes& boxes);

// The boxes at opening: empty for a new record, else the edited record's.
void InitialiseBookForm(BookFormBoxes& boxes, const BookFormContext& context);

// OK: checks the title, saves the record (database first) and, only when
// that worked, changes the lists and rows.  Anything but Saved leaves every
// list and row as it was.
FormOutcome SubmitBookForm(const BookFormBoxes& boxes, BookFormContext& context);
