#include "store/CatalogueDatabase.h"

#include <cstring>
#include "store/BookRows.h"
#include "store/RecordStatements.h"
#include "store/SqliteHandles.h"
#include "store/TextEncoding.h"

const char kCatalogueFileName[] = "Tomebox.sqlite";
const char kVersion0CopyName[] = "Tomebox-version0-backup.sqlite";

const char kCreateTableStatement[] =
    "CREATE TABLE IF NOT EXISTS 'Tomebox' ('BookName' TEXT NOT NULL, 'BookNameKana' TEXT, "
    "'Author' TEXT, 'AuthorKana' TEXT, 'Year' INTEGER, 'Month' INTEGER, 'Publisher' TEXT, "
    "'PublisherKana' TEXT, 'Place' TEXT, 'PlaceKana' TEXT, 'ISBN' TEXT, 'ID' INTEGER PRIMARY KEY);";

namespace {

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

// The nine texts of a record.
constexpr std::string BookFields::*kTextFields[] = {
    &BookFields::BookName,  &BookFields::BookNameKana,  &BookFields::Author,
    &BookFields::AuthorKana, &BookFields::Publisher,    &BookFields::PublisherKana,
    &BookFields::Place,     &BookFields::PlaceKana,     &BookFields::ISBN,
};

// Whether a version-0 table holds UTF-8 already: restored from a dump,
// which does not carry the version.  So it is taken to be when all its
// texts are valid UTF-8 while some are no code page 932 text.  (UTF-8 that
// also reads as code page 932 cannot be told from it, and is converted as
// every version-0 text always was.)
bool TableIsInUtf8(const BookList& rows)
{
    bool someTextNotCp932 = false;
    for (const BookPtr& row : rows) {
        for (auto field : kTextFields) {
            const std::string& text = row->Fields().*field;
            if (!IsUtf8Text(text)) return false;
            if (!someTextNotCp932 && !IsCp932Text(text)) someTextNotCp932 = true;
        }
    }
    return someTextNotCp932;
}

// A version-0 row with its texts in UTF-8 (as it is, when the whole table
// is).  Code page 932 is converted; other UTF-8 is kept; bytes that are
// neither are converted all the same, so that they end up readable (the
// kept copy holds them as they were).
BookPtr RowInUtf8(const BookPtr& row, bool tableInUtf8)
{
    if (tableInUtf8) return row;
    BookFields fields = row->Fields();
    for (auto field : kTextFields) {
        std::string& text = fields.*field;
        if (IsCp932Text(text) || !IsUtf8Text(text)) text = Cp932ToUtf8(text);
    }
    return MakeBook(std::move(fields));
}

// A file beside the catalogue, named the way SQLite names the catalogue's
// own file (a full path of its file system), so that it lies where the
// catalogue lies on every platform.
std::string BesideCatalogue(sqlite3* db, const std::string& name)
{
    const char* catalogue = sqlite3_db_filename(db, "main");
    const std::string path = catalogue ? catalogue : "";
    const std::size_t separator = path.find_last_of("/\\");
    return (separator == std::string::npos ? std::string() : path.substr(0, separator + 1)) + name;
}

// The first copy takes the plain name, later ones -2, -3, ... before the
// extension.
std::string Version0CopyName(int number)
{
    std::string name = kVersion0CopyName;
    if (number > 1) name.insert(name.rfind('.'), "-" + std::to_string(number));
    return name;
}

void RemoveFile(const std::string& path)
{
    if (sqlite3_vfs* files = sqlite3_vfs_find(nullptr)) files->xDelete(files, path.c_str(), 0);
}

// Copies the catalogue, as the open transaction reads it, to a new file
// beside it, never over an existing one.  Returns the copy's path, or
// nothing when no copy could be made (and none is left).
std::optional<std::string> KeepCopyOfVersion0(sqlite3* db)
{
    sqlite3_vfs* files = sqlite3_vfs_find(nullptr);
    for (int number = 1; files && number < 1000; ++number) {
        const std::string path = BesideCatalogue(db, Version0CopyName(number));
        int exists = 1;
        if (files->xAccess(files, path.c_str(), SQLITE_ACCESS_EXISTS, &exists) != SQLITE_OK) break;
        if (exists) continue;

        // A new file that is removed when the copy fails: it needs no
        // journal to roll back to, and is written and synced once.
        CatalogueConnection copy;
        bool copied = copy.Open(path.c_str()) == SQLITE_OK
                      && Execute(copy.get(), "PRAGMA journal_mode = OFF") == SQLITE_OK;
        if (copied) {
            sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", db, "main");
            copied = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
            copied = sqlite3_backup_finish(backup) == SQLITE_OK && copied;
        }
        copied = copy.Close() == SQLITE_OK && copied;
        if (copied) return path;
        RemoveFile(path);
        break;
    }
    return std::nullopt;
}

// Reads every row as stored, keeps a copy of the file as it is, and writes
// the rows back with their texts in UTF-8.  Runs inside the upgrade's
// transaction: the copy holds the very rows that are rewritten, whatever
// another program tries meanwhile.
bool RewriteRows(Catalogue& catalogue, std::optional<std::string>& copy)
{
    sqlite3* db = catalogue.db.get();
    BookList rows;
    const TableRead read = ReadWholeTable(db, rows);
    catalogue.insertNamesColumns = !read.inTableOrder;
    if (!read.complete) return false;
    if (rows.empty()) return true;  // a new catalogue: nothing to keep or convert

    copy = KeepCopyOfVersion0(db);
    if (!copy) return false;
    const bool tableInUtf8 = TableIsInUtf8(rows);

    // A table of another layout keeps its rows and further columns: each
    // row is rewritten in place, by its ID, instead of being re-inserted.
    if (!read.inTableOrder) {
        for (const BookPtr& row : rows)
            if (!SaveBookData(catalogue, Update, RowInUtf8(row, tableInUtf8))) return false;
        return true;
    }
    if (Execute(db, "DELETE FROM 'Tomebox'") != SQLITE_OK) return false;
    for (const BookPtr& row : rows)
        if (!SaveBookData(catalogue, Insert, RowInUtf8(row, tableInUtf8))) return false;
    return true;
}

// The file's user_version as SQLite reads it, or none when it cannot be read.
std::optional<int> ReadVersion(sqlite3* db)
{
    Statement pragma;
    if (PrepareStatement(db, "PRAGMA user_version", pragma) != SQLITE_OK) return std::nullopt;
    int version = 0;
    int step;
    while ((step = sqlite3_step(pragma.get())) == SQLITE_ROW) version = sqlite3_column_int(pragma.get(), 0);
    if (step != SQLITE_DONE) return std::nullopt;
    return version;
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
    const std::optional<int> version = ReadVersion(db);
    if (version != 0) return version;  // another version, or none read

    // The rewrite and the new version stand or fall together: a failure
    // anywhere leaves the table and its version as they were, so the next
    // start-up tries again on the same rows.
    if (Execute(db, "BEGIN") != SQLITE_OK) return std::nullopt;
    std::optional<std::string> copy;
    if (RewriteRows(catalogue, copy) && SetCurrentVersion(db) && Execute(db, "COMMIT") == SQLITE_OK) return version;
    // A full disk, or a trigger's RAISE(ROLLBACK), has SQLite end the
    // transaction itself.
    if (!sqlite3_get_autocommit(db)) Execute(db, "ROLLBACK");
    // The file is as it was when no transaction is left open and it reads
    // at version 0, which the upgrade's transaction sets along with the
    // rows: then the copy is redundant, and a start-up that keeps failing
    // leaves no pile of them.  Otherwise the copy may be the only good one.
    if (copy && sqlite3_get_autocommit(db) && ReadVersion(db) == 0) RemoveFile(*copy);
    return std::nullopt;
}

StartupOutcome StartCatalogueDatabase(Catalogue& catalogue, const WindowOperations& window)
{
    if (catalogue.db.Open(kCatalogueFileName) != SQLITE_OK) {
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
