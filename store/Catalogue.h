// The open catalogue: the one connection to Tomebox.sqlite and the records
// loaded from it.  The store's operations take it as their argument; the
// program keeps one for the whole run (see dialogs/Globals.h).
#pragma once
#include "store/BookData.h"
#include "store/SqliteHandles.h"

struct Catalogue {
    // Opened by the start-up, closed by the close at shutdown or by a failed
    // start-up; every statement runs on it.
    CatalogueConnection db;
    // The catalogue list: every record, in the order of loading then adding.
    BookList books;
    // Learnt whenever the table's rows are read: the table holds its twelve
    // columns in another order or among further ones, so that a positional
    // INSERT would fill the wrong columns and INSERT names them instead.
    bool insertNamesColumns = false;
    // How long each statement waits for another program's lock on the file
    // (a backup or sync tool reading it, say) before it fails.  Set on the
    // connection by the start-up.
    int busyTimeoutMilliseconds = 3000;
};
