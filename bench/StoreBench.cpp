// The catalogue store at start-up: loading a version-1 file against its
// floor (a bare prepare/step loop over the same table that keeps the
// values), and upgrading a version-0 file.
// Catalogues of 1,000, 10,000 and 100,000 Japanese records.
#include <windows.h>
#include <sqlite3.h>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <string>
#include <vector>
#include "BenchBooks.h"
#include "BenchSupport.h"
#include "support/Catalogues.h"
#include "support/ScratchDirectory.h"
#include "store/CatalogueDatabase.h"
#include "store/TextEncoding.h"

namespace {

bool Check(bool ok, const char* what)
{
    if (!ok) std::fprintf(stderr, "bench_store: %s failed\n", what);
    return ok;
}

// A catalogue file as the program would have written it: version 1 holds
// UTF-8, version 0 the code page 932 bytes.
bool WriteCatalogue(const std::string& file, const std::vector<Record>& records, int version)
{
    sqlite3* db = nullptr;
    DeleteFileA(file.c_str());
    bool ok = sqlite3_open(file.c_str(), &db) == SQLITE_OK
              && sqlite3_exec(db, kCreateTableStatement, nullptr, nullptr, nullptr) == SQLITE_OK
              && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO Tomebox VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr)
                   == SQLITE_OK;
    static const int kTextColumns[9] = {1, 2, 3, 4, 7, 8, 9, 10, 11};
    for (const Record& r : records) {
        if (!ok) break;
        for (int t = 0; t < 9; ++t) {
            const std::string value = version == 0 ? Cp932(r.text[t]) : r.text[t];
            if (value.empty())
                sqlite3_bind_null(insert, kTextColumns[t]);
            else
                sqlite3_bind_text(insert, kTextColumns[t], value.c_str(), static_cast<int>(value.size()),
                                  SQLITE_TRANSIENT);
        }
        sqlite3_bind_int(insert, 5, r.year);
        sqlite3_bind_int(insert, 6, r.month);
        sqlite3_bind_int(insert, 12, r.id);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    const std::string pragma = "PRAGMA user_version = " + std::to_string(version);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK
         && sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return Check(ok, "writing a catalogue");
}

const WindowOperations kSilentWindow{[](const char* message) { std::fprintf(stderr, "shown: %s\n", message); },
                                     [] {}};

// The floor: open, prepare, step every row and keep its values as the
// catalogue keeps them (a string per text, a shared record per row),
// nothing checked.  The list is freed after the clock stops, as the load's
// is.
double BareLoad(const char* file)
{
    BookList books;
    Stopwatch watch;
    sqlite3* db = nullptr;
    sqlite3_open(file, &db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare(db, "SELECT * FROM Tomebox", -1, &select, nullptr);
    auto text = [select](int column) {
        const char* value = reinterpret_cast<const char*>(sqlite3_column_text(select, column));
        return value ? std::string(value, static_cast<std::size_t>(sqlite3_column_bytes(select, column)))
                     : std::string();
    };
    while (sqlite3_step(select) == SQLITE_ROW)
        books.push_back(MakeBook(BookFields{text(0), text(1), text(2), text(3), sqlite3_column_int(select, 4),
                                            sqlite3_column_int(select, 5), text(6), text(7), text(8), text(9),
                                            text(10), sqlite3_column_int(select, 11)}));
    sqlite3_finalize(select);
    sqlite3_close(db);
    const double seconds = watch.Seconds();
    if (books.empty()) std::fprintf(stderr, "bench_store: empty table\n");
    return seconds;
}

struct Figures {
    double floor, startup, upgrade, startupV0;
};

// Medians of several runs, the floor and the figures taken in turn, so that
// a busy moment of the machine falls on both alike.
Figures Measure(const std::vector<Record>& records)
{
    const int count = static_cast<int>(records.size());
    // Names relative to the bench directory, the current directory of both
    // SQLite and the Win32 file functions.
    const char version1[] = "version1.sqlite";
    const char version0[] = "version0.sqlite";
    const char live[] = "Tomebox.sqlite";
    if (!WriteCatalogue(version1, records, 1) || !WriteCatalogue(version0, records, 0)) return {};

    std::vector<double> floor, startup, upgrade, startupV0;
    Catalogue catalogue;
    const int repeats = 7;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        CopyFileA(version1, live, FALSE);
        // Floor and load take turns reading the fresh copy first.
        if (repeat % 2 == 0) floor.push_back(BareLoad(live));
        Stopwatch watch;
        const StartupOutcome outcome = StartCatalogueDatabase(catalogue, kSilentWindow);
        startup.push_back(watch.Seconds());
        Check(outcome == StartupOutcome::Ready && static_cast<int>(catalogue.books.size()) == count, "start-up");
        Check(catalogue.books.empty() || catalogue.books.back()->GetBookName() == records.back().text[0],
              "loaded text");
        CloseCatalogueDatabase(catalogue, kSilentWindow);
        catalogue.books.clear();
        if (repeat % 2 == 1) floor.push_back(BareLoad(live));

        CopyFileA(version0, live, FALSE);
        Check(catalogue.db.Open(live) == SQLITE_OK, "open");
        watch.Restart();
        const bool upgraded = UpgradeCatalogueVersion(catalogue).has_value();
        upgrade.push_back(watch.Seconds());
        Check(upgraded, "upgrade");
        catalogue.db.Close();
        // Each upgrade keeps its copy of the version-0 file under the first free name.
        DeleteFileA(kVersion0CopyName);

        CopyFileA(version0, live, FALSE);
        watch.Restart();
        const StartupOutcome outcomeV0 = StartCatalogueDatabase(catalogue, kSilentWindow);
        startupV0.push_back(watch.Seconds());
        Check(outcomeV0 == StartupOutcome::Ready && static_cast<int>(catalogue.books.size()) == count,
              "version-0 start-up");
        Check(catalogue.books.empty() || catalogue.books.back()->GetPlace() == records.back().text[6],
              "upgraded text");
        CloseCatalogueDatabase(catalogue, kSilentWindow);
        catalogue.books.clear();
        DeleteFileA(kVersion0CopyName);
    }
    return {Median(floor), Median(startup), Median(upgrade), Median(startupV0)};
}

}  // namespace

int main()
{
    ScratchDirectory dir;  // the current directory while measuring
    std::printf("bench_store: catalogue start-up, median of 7 runs (ms)\n");
    std::printf("%8s %8s %8s %10s %9s %11s\n", "records", "floor", "load", "load/floor", "upgrade", "v0 start-up");
    double ratio = 0, upgrade = 0;
    for (int count : {1000, 10000, 100000}) {
        const Figures f = Measure(MakeRecords(count));
        std::printf("%8d %8.1f %8.1f %10s %9.1f %11.1f\n", count, f.floor * 1000, f.startup * 1000,
                    Ratio(f.startup, f.floor), f.upgrade * 1000, f.startupV0 * 1000);
        std::fflush(stdout);
        ratio = f.floor > 0 ? f.startup / f.floor : 0;
        upgrade = f.upgrade;
    }
    std::printf("floor: open, prepare and step SELECT *, keeping every value as the catalogue keeps\n"
                "them (a string per text, a shared record per row), nothing checked.\n"
                "load: StartCatalogueDatabase on a version-1 file; upgrade: UpgradeCatalogueVersion of a\n"
                "version-0 file, its copy included; v0 start-up: upgrade and load.\n"
                "targets at 100,000 records: load within 1.2x its floor (%.2fx): %s; upgrade under 5 s: %s\n",
                ratio, ratio > 0 && ratio <= 1.2 ? "met" : "not met", upgrade < 5.0 ? "met" : "not met");
    std::fflush(stdout);
    return 0;
}
