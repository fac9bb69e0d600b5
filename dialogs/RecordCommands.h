// The decisions of the commands on records, apart from the windows: what
// the book form's boxes start with, what its OK saves, which identifier a
// new record gets, what a delete removes, and which lists and rows change
// once the database has taken the change.  They work on abstract list views
// and boxes, so that tests drive them with fakes as well as the real ones.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include "listview/ListViewRows.h"
#include "store/BookData.h"
#include "store/RecordStatements.h"

// The book form's edit boxes, known by their control ids.
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

// The statements a command runs, apart so that tests can stand in for the
// database: an INSERT or UPDATE, and a DELETE by ID.
struct RecordWrites {
    std::function<bool(SaveMode, const BookPtr&)> save;
    std::function<bool(int32_t id)> remove;
};

// What a command works on in one run.  The working view and list are the
// results view and the hit list when the command came from a search results
// window, else the catalogue view and the catalogue list.
struct RecordCommandContext {
    int selectionIndex;  // row of the working view; -1: none (the book form adds)
    bool fromResults;
    BookList& catalogue;
    BookList& hits;
    ListViewRows& catalogueView;
    ListViewRows& resultsView;  // used only fromResults
    RecordWrites writes;
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
// character boundary; ID left 0.  With the record the form shows, a text
// its box still holds unchanged keeps its whole value, however long.
BookFields ReadFormValues(const BookFormBoxes& boxes, const BookData* shown = nullptr);

// The boxes at opening: empty for a new record, else the edited record's.
void InitialiseBookForm(BookFormBoxes& boxes, const RecordCommandContext& context);

// OK: checks the title, saves the record (database first) and, only when
// that worked, changes the lists and rows.  Anything but Saved leaves every
// list and row as it was.
FormOutcome SubmitBookForm(const BookFormBoxes& boxes, RecordCommandContext& context);

struct DeleteOutcome {
    bool deleted;           // false: the database refused, nothing changed
    int cataloguePosition;  // where the record stood in the catalogue list; -1 when none carried its ID
};

// Deletes the record behind the selected row of the working view, once the
// user has confirmed: the database first, then the hit list entry and the
// results row (from the results), then the first record with the ID in the
// catalogue list and its catalogue row.  From the catalogue view the row
// goes even when no record carried its ID; from the results the catalogue
// row goes only with its record, since rows stand in catalogue-list order.
// From the results only a hit that the catalogue list still holds is
// deleted: for any other row nothing runs and nothing changes.
DeleteOutcome DeleteRecordAtRow(RecordCommandContext& context);
