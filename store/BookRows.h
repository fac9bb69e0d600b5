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

struct TableRead {
    bool complete;      // every row was read (the last step was SQLITE_DONE)
    bool inTableOrder;  // the result is exactly the twelve columns in table order
};

// Appends one record per row of the whole table, in the order SQLite
// returns them, each text as stored; a NULL text gives empty text, a NULL
// integer 0.  Records
// read before a failing step stay appended.  Not complete when the
// statement does not prepare or lacks one of the twelve columns.
TableRead ReadWholeTable(sqlite3* db, BookList& books);
