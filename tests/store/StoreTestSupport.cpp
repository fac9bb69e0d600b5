#include "StoreTestSupport.h"

#include <windows.h>

const char* const kNull = "<NULL>";

RawDb::RawDb(const char* file)
{
    if (sqlite3_open(file, &db_) != SQLITE_OK) ADD_FAILURE() << "cannot open " << file;
}

RawDb::~RawDb()
{
    Close();
}

void RawDb::Close()
{
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

int RawDb::TryExec(const std::string& sql)
{
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

void RawDb::Exec(const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << (error ? error : "?");
        sqlite3_free(error);
    }
}

std::vector<std::vector<std::string>> RawDb::Rows(const std::string& sql)
{
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                row.push_back(kNull);
            } else {
                const char* text = static_cast<const char*>(sqlite3_column_blob(statement, i));
                row.emplace_back(text ? text : "", sqlite3_column_bytes(statement, i));
            }
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

int RawDb::Version()
{
    auto rows = Rows("PRAGMA user_version");
    return rows.empty() ? -999 : std::stoi(rows[0][0]);
}

WindowOperations RecordedWindow::Operations(const Catalogue& catalogue)
{
    return WindowOperations{[this, &catalogue](const char* message) {
                                messages.push_back(message);
                                sqlite3* db = catalogue.db.get();
                                openAtMessage = db != nullptr;
                                statementsAtMessage = 0;
                                for (sqlite3_stmt* s = db ? sqlite3_next_stmt(db, nullptr) : nullptr; s;
                                     s = sqlite3_next_stmt(db, s))
                                    ++statementsAtMessage;
                            },
                            [this, &catalogue] {
                                ++quitCount;
                                openAtQuit = static_cast<bool>(catalogue.db);
                            }};
}

BookFields MakeFields(const std::string& name, int32_t id)
{
    BookFields fields;
    fields.BookName = name;
    fields.BookNameKana = "ショメイ";
    fields.Author = "夏目漱石";
    fields.AuthorKana = "ナツメソウセキ";
    fields.Year = 1906;
    fields.Month = 4;
    fields.Publisher = "岩波書店";
    fields.PublisherKana = "イワナミショテン";
    fields.Place = "本棚1";
    fields.PlaceKana = "ホンダナ";
    fields.ISBN = "9784003101018";
    fields.ID = id;
    return fields;
}

BookList Records(const std::vector<BookFields>& books)
{
    BookList records;
    for (const BookFields& fields : books) records.push_back(MakeBook(fields));
    return records;
}

std::vector<std::string> Describe(const BookData& book)
{
    return {book.GetBookName(),  book.GetBookNameKana(),   book.GetAuthor(),
            book.GetAuthorKana(), std::to_string(book.GetYear()), std::to_string(book.GetMonth()),
            book.GetPublisher(), book.GetPublisherKana(), book.GetPlace(),
            book.GetPlaceKana(), book.GetISBN(),           std::to_string(book.GetID())};
}

void CreateCatalogueTable(RawDb& db)
{
    db.Exec(kCreateTableStatement);
}

std::vector<std::vector<std::string>> TableRows(RawDb& db)
{
    return db.Rows("SELECT BookName, BookNameKana, Author, AuthorKana, Year, Month, Publisher, "
                   "PublisherKana, Place, PlaceKana, ISBN, ID FROM Tomebox ORDER BY ID");
}

void OverwriteFile(const std::string& path, long long offset, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER at;
    at.QuadPart = offset < 0 ? 0 : offset;
    SetFilePointerEx(file, at, nullptr, offset < 0 ? FILE_END : FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}
