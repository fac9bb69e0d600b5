#include "store/SqliteHandles.h"

int CatalogueConnection::Open(const char* fileName)
{
    Close();
    return sqlite3_open(fileName, &db_);
}

int CatalogueConnection::Close()
{
    sqlite3* db = db_;
    db_ = nullptr;  // closed at most once, whatever sqlite3_close says
    return db ? sqlite3_close(db) : 0;
}
