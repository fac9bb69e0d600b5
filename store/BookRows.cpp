#include "store/BookRows.h"

#include <cstring>
#include <string>
#include "store/SqliteHandles.h"

const char* const kBookColumnNames[kTableColumnCount] = {
    "BookName", "BookNameKana", "Author",    "AuthorKana", "Year", "Month",
    "Publisher", "PublisherKana", "Place", "PlaceKana",  "ISBN", "ID",
};

namespace {

enum Field {
    kBookName, kBookNameKana, kAuthor, kAuthorKana, kYear, kMonth,
    kPublisher, kPublisherKana, kPlace, kPlaceKana, kISBN, kID,
};

// Result column of each field, in the order of BookFields; -1 when the
// result has no column of that name.
using BookColumns = std::array<int, kTableColumnCount>;

BookColumns MapBookColumns(sqlite3_stmt* statement)
{
    BookColumns columns;
    columns.fill(-1);
    const int count = sqlite3_column_count(statement);
    for (int column = 0; column < count; ++column) {
        const char* name = sqlite3_column_name(statement, column);
        if (!name) continue;
        for (int field = 0; field < kTableColumnCount; ++field) {
            if (columns[field] < 0 && std::strcmp(name, kBookColumnNames[field]) == 0) {
                columns[field] = column;
                break;
            }
        }
    }
    return columns;
}

// The text of a column, all its bytes; NULL gives empty text.
std::string ColumnText(sqlite3_stmt* statement, int column)
{
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (!text) return std::string();
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

BookFields ReadBookRow(sqlite3_stmt* statement, const BookColumns& at)
{
    // Each value made in its place, in the order of the fields.
    return BookFields{
        ColumnText(statement, at[kBookName]),      ColumnText(statement, at[kBookNameKana]),
        ColumnText(statement, at[kAuthor]),        ColumnText(statement, at[kAuthorKana]),
        sqlite3_column_int(statement, at[kYear]),        sqlite3_column_int(statement, at[kMonth]),
        ColumnText(statement, at[kPublisher]),     ColumnText(statement, at[kPublisherKana]),
        ColumnText(statement, at[kPlace]),         ColumnText(statement, at[kPlaceKana]),
        ColumnText(statement, at[kISBN]),          sqlite3_column_int64(statement, at[kID]),
    };
}

}  // namespace

TableRead ReadWholeTable(sqlite3* db, BookList& books)
{
    TableRead read{false, false};
    Statement select;
    if (PrepareStatement(db, "SELECT * FROM Tomebox", select) != SQLITE_OK) return read;
    const BookColumns columns = MapBookColumns(select.get());
    read.inTableOrder = sqlite3_column_count(select.get()) == kTableColumnCount;
    for (int field = 0; field < kTableColumnCount; ++field) {
        if (columns[field] < 0) return read;
        if (columns[field] != field) read.inTableOrder = false;
    }
    int step;
    while ((step = sqlite3_step(select.get())) == SQLITE_ROW)
        books.push_back(MakeBook(ReadBookRow(select.get(), columns)));
    read.complete = step == SQLITE_DONE;
    return read;
}
