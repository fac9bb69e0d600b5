// The decisions of the commands on records, apart from the windows: what
// the book form's boxes start with, what its OK saves, which identifier a
// new record gets, what a delete removes, and which lists and rows change
// once the database has taken the change.  They work on abstract list views
// and boxes, so that tests drive them with fakes as well as the real ones.
//
// A command takes the record it acts on when it starts.  While the book
// form or the delete question is open, the other window's commands run:
// they may edit, delete or add records, or search again.  So the record is
// held, never its row, and rows are found by the record's ID when the
// command ends.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "listview/BookView.h"
#include "store/BookData.h"
#include "store/RecordStatements.h"

// The book form's edit boxes, known by their control ids, in UTF-16 as the
// window holds them.
class BookFormBoxes {
public:
    virtual ~BookFormBoxes() = default;
    virtual std::u16string Text(int box) const = 0;
    // The box read as a signed whole number; 0 when it holds none.
    virtual int32_t Number(int box) const = 0;
    virtual void SetText(int box, const std::u16string& text) = 0;
};

// Longest text a record field (or a search condition) takes from a box,
// in UTF-16 units.
constexpr std::size_t kFormTextLimit = 255;
// A typed box text as a field holds it: cut to kFormTextLimit units on a
// character boundary, in UTF-8.
std::string TypedFieldText(std::u16string typed);
constexpr int kFormBoxCount = 11;

// The statements a command runs, apart so that tests can stand in for the
// database: an INSERT or UPDATE, and a DELETE by ID.
struct RecordWrites {
    std::function<bool(SaveMode, const BookPtr&)> save;
    std::function<bool(BookId id)> remove;
};

// The catalogue list and every view that shows records, as they are when
// a command looks at them.
struct RecordCommandContext {
    BookList& catalogue;
    BookView& catalogueView;                // new records go here
    std::vector<BookView*> resultsViews;   // one per open search results window
    RecordWrites writes;
};

// What one opening of the book form works on, taken when it opens.
struct BookFormTarget {
    BookPtr record;  // the record edited; null: OK adds a record
    // The boxes' texts once the record was shown: a box that still holds
    // its text at OK was left alone by the user.
    std::array<std::u16string, kFormBoxCount> shown;
};

enum class FormOutcome { Saved, TitleMissing, NoFreeId, SaveFailed, RecordMissing };

// The sentence shown for an outcome other than Saved.
const char* FormOutcomeMessage(FormOutcome outcome);

// Opens the form: empty boxes for a new record (null), else the record's
// values (year and month in decimal).
BookFormTarget InitialiseBookForm(BookFormBoxes& boxes, BookPtr record);

// The values of the boxes, each text cut to kFormTextLimit units on a
// character boundary; ID left 0.  A box the user left alone keeps the
// edited record's value as it is now, byte for byte, however long.
BookFields ReadFormValues(const BookFormBoxes& boxes, const BookFormTarget& target);

// OK: checks the title, saves the record (database first) and, only when
// that worked, changes the catalogue list and every view that shows the
// record, where its row is then selected: a new record goes into the
// catalogue list view at its place in the view's order.  An edited record
// that the catalogue list no longer holds is RecordMissing.  Anything but
// Saved leaves every list and row as it was.
FormOutcome SubmitBookForm(const BookFormBoxes& boxes, const BookFormTarget& target, RecordCommandContext& context);

// The catalogued book that the book to be added would be a second copy of:
// the first whose ISBN equals the ISBN box's, compared as ISBNs.  Null for
// an edit, a form without a title (OK refuses it anyway), or a box that
// holds no ISBN.
BookPtr CataloguedCopy(const BookFormBoxes& boxes, const BookFormTarget& target, const BookList& catalogue);

// Deletes a record taken before the user confirmed: the database first,
// then the record in the catalogue list and every view, with its rows.  A
// record no longer in the catalogue list was deleted meanwhile (from the
// other window): that delete has done the work, and this one is done too,
// writing nothing.  False, with nothing changed, for no record or when the
// database refused.
bool DeleteRecord(BookPtr record, RecordCommandContext& context);
