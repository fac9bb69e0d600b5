// Reading whole rows of "SELECT * FROM Tomebox" into records.  The table's
// layout check accepts the twelve columns in any order and among further
// columns, so rows are read by column name, never by position.
#pragma once
#include <array>
#include <sqlite3.h>
#include "store/BookData.h"

constexpr int kTableColumnCount = 12;
// The twelve column names, in the order of BookFields.
extern const char* const kBookColumnNames[kTableColumnCount];

struct BookColumns {
    // Result column of each field, in the order of BookFields; -1 when the
    // result has no column of that name.
    std::array<int, kTableColumnCount> index;
    // True when the result is exactly the twelve columns in table order,
    // the layout that the plain INSERT statement fills.
    bool inTableOrder;

    bool Complete() const;
};

// Maps the result columns of a prepared statement by name.
BookColumns MapBookColumns(sqlite3_stmt* statement);

// How the texts of a row reach the record.
enum class RowText { AsStored, FromUtf8 };

// The current row of the statement; a NULL text gives empty text, a NULL
// integer 0.
BookFields ReadBookRow(sqlite3_stmt* statement, const BookColumns& columns, RowText text);
