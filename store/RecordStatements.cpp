#include "store/RecordStatements.h"

#include <string>
#include "app/Globals.h"
#include "store/BookRows.h"
#include "store/SqliteHandles.h"
#include "store/TextEncoding.h"

namespace {

// Learnt when the rows are read: whether the open table holds exactly the
// twelve columns in table order.  A positional INSERT into any other layout
// would put values into the wrong columns, so INSERT then names them.
bool s_tableInColumnOrder = true;

// A text value as the statements write it: a quoted literal, or NULL when
// empty unless the column always takes a literal.
void AppendText(std::string& sql, const std::string& value, bool alwaysLiteral = false)
{
    if (value.empty() && !alwaysLiteral) {
        sql += "NULL";
        return;
    }
    sql += '\'';
    sql += AnsiToUtf8(EscapeQuotes(value));
    sql += '\'';
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
    const BookFields& f = book.Fields();
    std::string sql = "INSERT INTO 'Tomebox' ";
    if (nameColumns) {
        sql += '(';
        for (int field = 0; field < kTableColumnCount; ++field) {
            if (field > 0) sql += ", ";
            sql += kBookColumnNames[field];
        }
        sql += ") ";
    }
    sql += "VALUES (";
    AppendText(sql, f.BookName, true);
    sql += ", ";
    for (const std::string* text : {&f.BookNameKana, &f.Author, &f.AuthorKana}) {
        AppendText(sql, *text);
        sql += ", ";
    }
    sql += std::to_string(f.Year) + ", " + std::to_string(f.Month) + ", ";
    for (const std::string* text : {&f.Publisher, &f.PublisherKana, &f.Place, &f.PlaceKana, &f.ISBN}) {
        AppendText(sql, *text);
        sql += ", ";
    }
    sql += std::to_string(f.ID) + ");";
    return sql;
}

std::string BuildUpdateStatement(const BookData& book)
{
    const BookFields& f = book.Fields();
    std::string sql = "UPDATE 'Tomebox' SET BookName = ";
    AppendText(sql, f.BookName, true);
    sql += ", BookNameKana = ";
    AppendText(sql, f.BookNameKana);
    sql += ", Author = ";
    AppendText(sql, f.Author);
    sql += ", AuthorKana = ";
    AppendText(sql, f.AuthorKana);
    sql += ", Year = " + std::to_string(f.Year) + ", Month = " + std::to_string(f.Month);
    sql += ", Publisher = ";
    AppendText(sql, f.Publisher);
    sql += ", PublisherKana = ";
    AppendText(sql, f.PublisherKana);
    sql += ", Place = ";
    AppendText(sql, f.Place);
    sql += ", PlaceKana = ";
    AppendText(sql, f.PlaceKana);
    sql += ", ISBN = ";
    AppendText(sql, f.ISBN);
    sql += ", ID = " + std::to_string(f.ID) + " WHERE ID = " + std::to_string(f.ID) + ";";
    return sql;
}

std::string BuildDeleteStatement(int32_t id)
{
    return "DELETE FROM 'Tomebox' WHERE ID = " + std::to_string(id);
}

void SetTableColumnOrder(bool inTableOrder)
{
    s_tableInColumnOrder = inTableOrder;
}

bool SaveBookData(sqlite3* db, SaveMode mode, const std::shared_ptr<BookData>& book)
{
    if ((mode != Insert && mode != Update) || !book || !db) return false;
    const std::string sql = mode == Insert ? BuildInsertStatement(*book, !s_tableInColumnOrder)
                                           : BuildUpdateStatement(*book);
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SaveBookData(SaveMode mode, std::shared_ptr<BookData> book)
{
    return SaveBookData(g_catalogueDb.get(), mode, book);
}

bool LoadCatalogue()
{
    if (!g_catalogueDb) return false;
    Statement select;
    if (PrepareStatement(g_catalogueDb.get(), "SELECT * FROM Tomebox", select) != SQLITE_OK)
        return false;
    const BookColumns columns = MapBookColumns(select.get());
    if (!columns.Complete()) return false;
    SetTableColumnOrder(columns.inTableOrder);

    int step;
    while ((step = sqlite3_step(select.get())) == SQLITE_ROW)
        g_catalogue.push_back(MakeBook(ReadBookRow(select.get(), columns, RowText::FromUtf8)));
    return step == SQLITE_DONE;
}

bool DeleteBookData(int32_t id)
{
    if (!g_catalogueDb) return false;
    const std::string sql = BuildDeleteStatement(id);
    return sqlite3_exec(g_catalogueDb.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}
