// The statements that load, add, change and delete records, run on the
// catalogue's connection.  Only LoadCatalogue changes the catalogue list;
// after the others the callers change the lists, once the statement
// succeeded.
#pragma once
#include <cstdint>
#include <string>
#include "store/BookData.h"
#include "store/Catalogue.h"
#include "store/Progress.h"

enum SaveMode { Insert = 0, Update = 1 };

std::string EscapeQuotes(std::string text);

// The statement texts, exposed for their callers' tests.  Texts are
// written as the record holds them: UTF-8, the table's own encoding.
// With nameColumns the INSERT lists the twelve column names, for a table
// that holds them in another order or beside further columns.
std::string BuildInsertStatement(const BookData& book, bool nameColumns = false);
std::string BuildUpdateStatement(const BookData& book);
std::string BuildDeleteStatement(BookId id);

// True when the INSERT ran with SQLITE_OK, or the UPDATE did and changed
// the record's row; false at once for any other mode.
bool SaveBookData(Catalogue& catalogue, SaveMode mode, const BookPtr& book);
// Appends one record per row to the catalogue list; true when the whole
// table was read.
bool LoadCatalogue(Catalogue& catalogue);
// True when the DELETE ran with SQLITE_OK, also when it found no row: the
// book is gone from the table either way (another program deleted it, say).
bool DeleteBookData(Catalogue& catalogue, BookId id);

// Adds the records in one transaction: true when every one was added,
// false when any failed, and then none was (the transaction is rolled
// back).  One prepared INSERT, its values bound anew for each record, with
// the same column values as SaveBookData's.  The progress counts records.
bool InsertBooks(Catalogue& catalogue, const BookList& books, const ProgressReport& progress = {});
