#include "store/RecordStatements.h"

#include <array>
#include <string>
#include "store/BookRows.h"
#include "store/TextEncoding.h"

namespace {

// A text value as the statements write it: a quoted literal, or NULL when
// empty unless the column always takes a literal.  A text holding a NUL
// (another program may store one) would end the statement there: its bytes
// go in as a blob literal, cast back to text.
std::string TextValue(const std::string& value, bool alwaysLiteral = false)
{
    if (value.empty() && !alwaysLiteral) return "NULL";
    if (value.find('\0') == std::string::npos) return '\'' + EscapeQuotes(value) + '\'';
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char byte : value) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return "CAST(X'" + hex + "' AS TEXT)";
}

// The twelve values as both statements write them, in column order.  The
// title is always a literal, even empty; integers are plain decimals.
std::array<std::string, kTableColumnCount> ValueTexts(const BookFields& f)
{
    return {TextValue(f.BookName, true), TextValue(f.BookNameKana), TextValue(f.Author),
            TextValue(f.AuthorKana),     DecimalText(f.Year),       DecimalText(f.Month),
            TextValue(f.Publisher),      TextValue(f.PublisherKana), TextValue(f.Place),
            TextValue(f.PlaceKana),      TextValue(f.ISBN),          DecimalText(f.ID)};
}

// The INSERT of InsertBooks: every column named, the values bound.
std::string BoundInsertStatement()
{
    std::string names, values;
    for (int column = 0; column < kTableColumnCount; ++column) {
        const char* separator = column > 0 ? ", " : "";
        names += separator + std::string(kBookColumnNames[column]);
        values += separator + std::string("?");
    }
    return "INSERT INTO 'Tomebox' (" + names + ") VALUES (" + values + ");";
}

void BindText(sqlite3_stmt* insert, int parameter, const std::string& text, bool alwaysText = false)
{
    if (text.empty() && !alwaysText)
        sqlite3_bind_null(insert, parameter);
    else
        sqlite3_bind_text(insert, parameter, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

bool InsertEach(sqlite3* db, const BookList& books, const ProgressReport& progress)
{
    // Prepared with _v2, which prepares again when another program has
    // changed the schema since this connection read it.
    sqlite3_stmt* s = nullptr;
    const int prepared = sqlite3_prepare_v2(db, BoundInsertStatement().c_str(), -1, &s, nullptr);
    const Statement insert(s);
    if (prepared != SQLITE_OK) return false;
    std::size_t done = 0;
    for (const BookPtr& book : books) {
        const BookFields& f = book->Fields();
        BindText(s, 1, f.BookName, true);
        BindText(s, 2, f.BookNameKana);
        BindText(s, 3, f.Author);
        BindText(s, 4, f.AuthorKana);
        sqlite3_bind_int(s, 5, f.Year);
        sqlite3_bind_int(s, 6, f.Month);
        BindText(s, 7, f.Publisher);
        BindText(s, 8, f.PublisherKana);
        BindText(s, 9, f.Place);
        BindText(s, 10, f.PlaceKana);
        BindText(s, 11, f.ISBN);
        sqlite3_bind_int64(s, 12, f.ID);
        if (sqlite3_step(s) != SQLITE_DONE) return false;
        sqlite3_reset(s);
        if (++done % kProgressInterval == 0) ReportProgress(progress, done, books.size());
    }
    ReportProgress(progress, books.size(), books.size());
    return true;
}

bool Execute(Catalogue& catalogue, const std::string& sql)
{
    if (!catalogue.db) return false;
    return sqlite3_exec(catalogue.db.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

std::string EscapeQuotes(std::string text)
{
    std::string::size_type position = text.find('\'');
    while (position != std::string::npos) {
        text.replace(position, 1, "''");
        position = text.find('\'', position + 2);
    }
    return text;
}

std::string BuildInsertStatement(const BookData& book, bool nameColumns)
{
    std::string names, values;
    const auto texts = ValueTexts(book.Fields());
    for (int column = 0; column < kTableColumnCount; ++column) {
        const char* separator = column > 0 ? ", " : "";
        names += separator + std::string(kBookColumnNames[column]);
        values += separator + texts[column];
    }
    std::string sql = "INSERT INTO 'Tomebox' ";
    if (nameColumns) sql += "(" + names + ") ";
    return sql + "VALUES (" + values + ");";
}

std::string BuildUpdateStatement(const BookData& book)
{
    // Every column is set, the ID to its own value.
    std::string sql = "UPDATE 'Tomebox' SET ";
    const auto texts = ValueTexts(book.Fields());
    for (int column = 0; column < kTableColumnCount; ++column) {
        if (column > 0) sql += ", ";
        sql += std::string(kBookColumnNames[column]) + " = " + texts[column];
    }
    return sql + " WHERE ID = " + DecimalText(book.GetID()) + ";";
}

std::string BuildDeleteStatement(BookId id)
{
    return "DELETE FROM 'Tomebox' WHERE ID = " + DecimalText(id);
}

bool SaveBookData(Catalogue& catalogue, SaveMode mode, const BookPtr& book)
{
    if ((mode != Insert && mode != Update) || !book) return false;
    if (mode == Insert) return Execute(catalogue, BuildInsertStatement(*book, catalogue.insertNamesColumns));
    // An UPDATE that finds no row has saved nothing: the record is gone from
    // the table (another program deleted it, say).
    return Execute(catalogue, BuildUpdateStatement(*book)) && sqlite3_changes(catalogue.db.get()) > 0;
}

bool LoadCatalogue(Catalogue& catalogue)
{
    if (!catalogue.db) return false;
    const TableRead read = ReadWholeTable(catalogue.db.get(), catalogue.books);
    catalogue.insertNamesColumns = !read.inTableOrder;
    return read.complete;
}

bool DeleteBookData(Catalogue& catalogue, BookId id)
{
    return Execute(catalogue, BuildDeleteStatement(id));
}

bool InsertBooks(Catalogue& catalogue, const BookList& books, const ProgressReport& progress)
{
    sqlite3* db = catalogue.db.get();
    if (!db) return false;
    // The write lock is taken first, so that another program's lock fails
    // the import before any row is written.
    if (!Execute(catalogue, "BEGIN IMMEDIATE")) return false;
    if (InsertEach(db, books, progress) && Execute(catalogue, "COMMIT")) return true;
    // A full disk or a trigger's RAISE(ROLLBACK) may have ended the
    // transaction already; a COMMIT refused for a reader's lock has not.
    if (!sqlite3_get_autocommit(db)) Execute(catalogue, "ROLLBACK");
    return false;
}
