// Owners of SQLite handles: a statement that is always finalized and a
// connection that is closed exactly once.
#pragma once
#include <memory>
#include <sqlite3.h>

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares the whole text; result is the sqlite3_prepare code.
inline int PrepareStatement(sqlite3* db, const char* sql, Statement& out) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare(db, sql, -1, &raw, nullptr);
    out.reset(raw);
    return rc;
}

class CatalogueConnection {
public:
    CatalogueConnection() = default;
    CatalogueConnection(const CatalogueConnection&) = delete;
    CatalogueConnection& operator=(const CatalogueConnection&) = delete;
    ~CatalogueConnection() { Close(); }

    // sqlite3_open of the given file; the handle is kept even on failure.
    int Open(const char* fileName);
    // sqlite3_close; a closed or never-opened connection returns 0 and
    // does nothing.  Whatever the result, the handle is not used again.
    int Close();
    // Forgets a handle without closing it (what a failed open leaves).
    void Abandon() { db_ = nullptr; }

    sqlite3* get() const { return db_; }
    explicit operator bool() const { return db_ != nullptr; }

private:
    sqlite3* db_ = nullptr;
};
