// The statements that load, add, change and delete records.  They run on
// the catalogue connection and touch the catalogue list only in
// LoadCatalogue; callers change the lists after a statement succeeds.
#pragma once
#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <string>
#include "store/BookData.h"

enum SaveMode { Insert = 0, Update = 1 };

std::string EscapeQuotes(std::string text);

// The statement texts, exposed for their callers' tests.
// With nameColumns the INSERT lists the twelve column names, for a table
// that holds them in another order or beside further columns.
std::string BuildInsertStatement(const BookData& book, bool nameColumns = false);
std::string BuildUpdateStatement(const BookData& book);
std::string BuildDeleteStatement(int32_t id);

// True when the INSERT or UPDATE ran with SQLITE_OK; false at once for any
// other mode.
bool SaveBookData(SaveMode mode, std::shared_ptr<BookData> book);
// The same on a given connection (the version upgrade's).
bool SaveBookData(sqlite3* db, SaveMode mode, const std::shared_ptr<BookData>& book);
// Whether the open table holds exactly the twelve columns in table order;
// set whenever its rows are read.  When it does not, INSERT names its
// columns.
void SetTableColumnOrder(bool inTableOrder);
// Appends one record per row to the catalogue list; true when the whole
// table was read.
bool LoadCatalogue();
// True when the DELETE ran with SQLITE_OK (also when no row matched).
bool DeleteBookData(int32_t id);
