// Helpers of the store tests: a second, raw connection to the scratch
// Tomebox.sqlite, the window operations recorded, and a fixture with a
// catalogue of its own.
#pragma once
#include <sqlite3.h>
#include <string>
#include <vector>
#include "store/BookData.h"
#include "store/Catalogue.h"
#include "store/CatalogueDatabase.h"
#include "support/GTestWin32.h"
#include "support/ScratchDirectory.h"

// Stands for NULL in the rows read by RawDb::Rows.
extern const char* const kNull;

class RawDb {
public:
    explicit RawDb(const char* file = "Tomebox.sqlite");
    ~RawDb();
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    sqlite3* get() const { return db_; }
    // Runs statements that must succeed.
    void Exec(const std::string& sql);
    int TryExec(const std::string& sql);
    // Every row of a query, each value as its stored bytes (kNull for NULL).
    std::vector<std::vector<std::string>> Rows(const std::string& sql);
    int Version();
    void Close();

private:
    sqlite3* db_ = nullptr;
};

// What the start-up showed and whether it posted the quit request, with
// the state of the connection at each, which tells the order of clean-up.
struct RecordedWindow {
    std::vector<std::string> messages;
    int quitCount = 0;
    bool openAtMessage = false;
    int statementsAtMessage = 0;  // unfinalized statements on the connection
    bool openAtQuit = false;
    // The operations, recording the state of the catalogue's connection.
    WindowOperations Operations(const Catalogue& catalogue);
};

// Every test runs in its own scratch directory with an empty catalogue and
// no open connection.
class StoreTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_;
    Catalogue catalogue_;
};

BookFields MakeFields(const std::string& name, int32_t id);
// A record of each.
BookList Records(const std::vector<BookFields>& books);
// All twelve values, for comparisons.
std::vector<std::string> Describe(const BookData& book);
// The table of the system, created with its own statement.
void CreateCatalogueTable(RawDb& db);
// Rows of the table, by column name, in ID order.
std::vector<std::vector<std::string>> TableRows(RawDb& db);
// Writes bytes over a file (Windows path), from an offset; -1 appends.
void OverwriteFile(const std::string& path, long long offset, const std::string& bytes);
