// The search without its window: the statement built from the eleven
// condition texts, and the run that refills a hit list with the catalogue's
// own record objects.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <vector>
#include "store/BookData.h"

constexpr int kSearchConditionCount = 11;

enum class ConditionKind { Text, Number };

struct SearchCondition {
    int editId;          // the conditions dialog's edit box
    const char* column;
    ConditionKind kind;
};

// The conditions in the order they are joined: the table's column order,
// so the place comes after the publisher although it stands above the year
// on the screen.
extern const std::array<SearchCondition, kSearchConditionCount> kSearchConditions;

// The texts as typed, in UTF-8, in kSearchConditions order; each as long
// as a book form's field may be.
using SearchTexts = std::array<std::string, kSearchConditionCount>;

// A year or month text as its decimal value: a whole number, optionally
// signed and surrounded by spaces.  Anything else (words, SQL, full-width
// digits) has none.
std::optional<std::string> WholeNumberText(const std::string& text);

// "SELECT ID FROM 'Tomebox' WHERE ... ;" with one condition per non-empty
// text.  Text values have their quotes doubled (the LIKE wildcards keep
// their meaning); nothing when a year or month is not a whole number.  With every text empty the clause is empty and the statement does
// not compile.
std::optional<std::string> BuildSearchStatement(const SearchTexts& texts);

enum class SearchOutcome {
    Done,         // stepped to SQLITE_DONE
    NotBuilt,     // a year or month that is not a whole number
    NotPrepared,  // the statement does not compile
    StepFailed,   // stepping ended with an error
};

// Runs the statement and returns the IDs in the order SQLite gives them
// (those read before a failing step included).
SearchOutcome CollectHitIds(sqlite3* db, const std::string& sql, std::vector<BookId>& ids);

// Appends, for each ID, the first record of the catalogue carrying it (the
// same object); IDs no record carries are skipped.
void AppendHits(const std::vector<BookId>& ids, const BookList& catalogue, BookList& hits);

// Empties the hit list, then builds, runs and collects.
SearchOutcome RunSearch(const SearchTexts& texts, sqlite3* db, const BookList& catalogue, BookList& hits);
