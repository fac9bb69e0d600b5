#include "store/CatalogueDatabase.h"

#include <cstring>
#include "store/BookRows.h"
#include "store/RecordStatements.h"
#include "store/SqliteHandles.h"

const char kCreateTableStatement[] =
    "CREATE TABLE IF NOT EXISTS 'Tomebox' ('BookName' TEXT NOT NULL, 'BookNameKana' TEXT, "
    "'Author' TEXT, 'AuthorKana' TEXT, 'Year' INTEGER, 'Month' INTEGER, 'Publisher' TEXT, "
    "'PublisherKana' TEXT, 'Place' TEXT, 'PlaceKana' TEXT, 'ISBN' TEXT, 'ID' INTEGER PRIMARY KEY);";

namespace {

const char kFileName[] = "Tomebox.sqlite";

// What the layout check expects of each column, in table order.
struct ExpectedColumn {
    const char* type;
    bool notNull;
    bool primaryKey;
};
const ExpectedColumn kExpectedColumns[kTableColumnCount] = {
    {"TEXT", true, false},     {"TEXT", false, false}, {"TEXT", false, false},
    {"TEXT", false, false},    {"INTEGER", false, false}, {"INTEGER", false, false},
    {"TEXT", false, false},    {"TEXT", false, false}, {"TEXT", false, false},
    {"TEXT", false, false},    {"TEXT", false, false}, {"INTEGER", false, true},
};

int Execute(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

bool SetCurrentVersion(sqlite3* db)
{
    return Execute(db, "PRAGMA user_version = 1") == SQLITE_OK;
}

// Reads every row as stored and writes it back through the record
// statements, which convert the texts to UTF-8.  Runs inside the upgrade's
// transaction.
bool RewriteRows(Catalogue& catalogue)
{
    sqlite3* db = catalogue.db.get();
    BookList rows;
    const TableRead read = ReadWholeTable(db, RowText::AsStored, rows);
    catalogue.insertNamesColumns = !read.inTableOrder;
    if (!read.complete) return false;

    // A table of another layout keeps its rows and further columns: each
    // row is rewritten in place, by its ID, instead of being re-inserted.
    if (!read.inTableOrder) {
        for (const BookPtr& book : rows)
            if (!SaveBookData(catalogue, Update, book)) return false;
        return true;
    }
    if (Execute(db, "DELETE FROM 'Tomebox'") != SQLITE_OK) return false;
    for (const BookPtr& book : rows)
        if (!SaveBookData(catalogue, Insert, book)) return false;
    return true;
}

StartupOutcome Fail(Catalogue& catalogue, const WindowOperations& window, StartupOutcome outcome,
                    const char* message, Statement* layout, bool closeConnection)
{
    if (window.showError) window.showError(message);
    if (layout) layout->reset();
    if (closeConnection) catalogue.db.Close();
    if (window.postQuit) window.postQuit();
    return outcome;
}

}  // namespace

uint32_t Fnv1a(const char* bytes)
{
    uint32_t hash = 2166136261u;
    for (; *bytes; ++bytes) {
        hash ^= static_cast<unsigned char>(*bytes);
        hash *= 16777619u;
    }
    return hash;
}

LayoutCheck VerifyLayout(sqlite3_stmt* tableInfo)
{
    uint32_t keys[kTableColumnCount];
    for (int column = 0; column < kTableColumnCount; ++column) keys[column] = Fnv1a(kBookColumnNames[column]);

    LayoutCheck check{0, SQLITE_DONE};
    while ((check.lastStep = sqlite3_step(tableInfo)) == SQLITE_ROW) {
        const char* name = reinterpret_cast<const char*>(sqlite3_column_text(tableInfo, 1));
        if (!name) continue;
        const uint32_t key = Fnv1a(name);
        for (int column = 0; column < kTableColumnCount; ++column) {
            // The key finds the candidate; the bytes confirm it.
            if (keys[column] != key || std::strcmp(name, kBookColumnNames[column]) != 0) continue;
            const ExpectedColumn& expected = kExpectedColumns[column];
            const char* type = reinterpret_cast<const char*>(sqlite3_column_text(tableInfo, 2));
            const bool notNull = sqlite3_column_int(tableInfo, 3) != 0;
            const bool primaryKey = sqlite3_column_int(tableInfo, 5) != 0;
            if (type && std::strcmp(type, expected.type) == 0 && notNull == expected.notNull
                && primaryKey == expected.primaryKey)
                check.schemaMask |= 1u << column;
            break;
        }
    }
    return check;
}

std::optional<int> UpgradeCatalogueVersion(Catalogue& catalogue)
{
    sqlite3* db = catalogue.db.get();
    int version = 0;
    {
        Statement pragma;
        if (PrepareStatement(db, "PRAGMA user_version", pragma) != SQLITE_OK) return std::nullopt;
        int step;
        while ((step = sqlite3_step(pragma.get())) == SQLITE_ROW) version = sqlite3_column_int(pragma.get(), 0);
        if (step != SQLITE_DONE) return std::nullopt;
    }
    if (version != 0) return version;

    // The rewrite and the new version stand or fall together: a failure
    // anywhere leaves the table and its version as they were, so the next
    // start-up tries again on the same rows.
    if (Execute(db, "BEGIN") != SQLITE_OK) return std::nullopt;
    if (RewriteRows(catalogue) && SetCurrentVersion(db) && Execute(db, "COMMIT") == SQLITE_OK) return version;
    Execute(db, "ROLLBACK");
    return std::nullopt;
}

StartupOutcome StartCatalogueDatabase(Catalogue& catalogue, const WindowOperations& window)
{
    if (catalogue.db.Open(kFileName) != SQLITE_OK) {
        // The handle of a failed open is left alone, and forgotten so that
        // no later close touches it.
        catalogue.db.Abandon();
        return Fail(catalogue, window, StartupOutcome::Open, "データベースの生成に失敗しました", nullptr, false);
    }
    sqlite3* db = catalogue.db.get();
    sqlite3_busy_timeout(db, catalogue.busyTimeoutMilliseconds);

    // Its failure shows in the layout check that follows.
    Execute(db, kCreateTableStatement);

    Statement layout;
    if (PrepareStatement(db, "PRAGMA TABLE_INFO ('Tomebox');", layout) != SQLITE_OK)
        return Fail(catalogue, window, StartupOutcome::PrepareLayout, "データベースの読み込みに失敗しました", nullptr, true);

    const LayoutCheck check = VerifyLayout(layout.get());
    if (check.lastStep != SQLITE_DONE)
        return Fail(catalogue, window, StartupOutcome::LayoutStep, "SQL情報の読み込みに失敗しました", &layout, true);
    if (check.schemaMask != kCompleteSchemaMask)
        return Fail(catalogue, window, StartupOutcome::LayoutMismatch,
                    "テーブル定義の異なるTomebox.sqliteファイルを読み込みました", &layout, true);

    const std::optional<int> version = UpgradeCatalogueVersion(catalogue);
    if (!version)
        return Fail(catalogue, window, StartupOutcome::Version, "ユーザバージョンの確認に失敗しました", &layout, true);
    layout.reset();

    if (!LoadCatalogue(catalogue))
        return Fail(catalogue, window, StartupOutcome::Load, "SQLから情報の読み込みに失敗しました", nullptr, true);

    // Any other version is read as the current one, and marked so only now
    // that its rows have loaded: a file the start-up refuses is left
    // exactly as it was.
    if (*version != 0 && *version != 1 && !SetCurrentVersion(db)) {
        catalogue.books.clear();
        return Fail(catalogue, window, StartupOutcome::Version, "ユーザバージョンの確認に失敗しました", nullptr, true);
    }
    return StartupOutcome::Ready;
}

void CloseCatalogueDatabase(Catalogue& catalogue, const WindowOperations& window)
{
    if (catalogue.db.Close() != SQLITE_OK && window.showError)
        window.showError("データベースのクローズに失敗しました");
    if (window.postQuit) window.postQuit();
}
