// A search whose condition matches every record, over catalogues of 10,000
// and 100,000 Japanese records: the statement (build, prepare, step), the
// hit list, and filling a results list view from template 133, timed apart;
// then closing that window.
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "support/ScratchDirectory.h"
#include "dialogs/Globals.h"
#include "dialogs/SearchResults.h"
#include "dialogs/SearchStatement.h"
#include "listview/BookListView.h"
#include "listview/Win32ListView.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"

namespace {

const char* const kNouns[] = {"海", "空", "風", "森", "夜", "星", "花", "雪", "街", "旅", "表示", "ソフトウェア"};
const char* const kAuthors[] = {"佐藤太郎", "鈴木花子", "高橋健一", "田中美咲", "伊藤翔太", "渡辺由美"};
const char* const kPublishers[] = {"岩波書店", "新潮社", "講談社", "角川書店", "筑摩書房"};

// Every title holds 本, which the search looks for.
BookFields MakeFields(int i)
{
    BookFields f;
    f.BookName = std::string("本の") + kNouns[i % 12] + "と" + kNouns[(i / 12) % 12] + " 第" + std::to_string(i) + "巻";
    f.BookNameKana = "ホンノ" + std::to_string(i);
    f.Author = kAuthors[i % 6];
    f.Year = 1950 + i % 75;
    f.Month = 1 + i % 12;
    f.Publisher = kPublishers[i % 5];
    f.Place = "書斎の本棚" + std::to_string(i % 6) + "段目";
    f.ISBN = "978-4-" + std::to_string(100000 + i % 900000) + "-00-0";
    f.ID = i;
    return f;
}

bool WriteCatalogue(int count)
{
    DeleteFileA("Tomebox.sqlite");
    sqlite3* db = nullptr;
    bool ok = sqlite3_open("Tomebox.sqlite", &db) == SQLITE_OK
              && sqlite3_exec(db,
                              "CREATE TABLE 'Tomebox' ('BookName' TEXT NOT NULL, 'BookNameKana' TEXT, 'Author' TEXT, "
                              "'AuthorKana' TEXT, 'Year' INTEGER, 'Month' INTEGER, 'Publisher' TEXT, "
                              "'PublisherKana' TEXT, 'Place' TEXT, 'PlaceKana' TEXT, 'ISBN' TEXT, "
                              "'ID' INTEGER PRIMARY KEY); BEGIN",
                              nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO Tomebox VALUES (?,?,?,NULL,?,?,?,NULL,?,NULL,?,?)", -1, &insert,
                                  nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < count; ++i) {
        BookFields f = MakeFields(i);
        const std::string texts[] = {AnsiToUtf8(f.BookName), AnsiToUtf8(f.BookNameKana), AnsiToUtf8(f.Author),
                                     AnsiToUtf8(f.Publisher), AnsiToUtf8(f.Place), f.ISBN};
        const int columns[] = {1, 2, 3, 6, 7, 8};
        for (int t = 0; t < 6; ++t)
            sqlite3_bind_text(insert, columns[t], texts[t].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 4, f.Year);
        sqlite3_bind_int(insert, 5, f.Month);
        sqlite3_bind_int(insert, 9, f.ID);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok) std::fprintf(stderr, "bench_search: writing the catalogue failed\n");
    return ok;
}

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

struct Timings {
    double statement, hits, view, close;
};

// One search as the conditions dialog and the results window run it.
Timings SearchOnce(int expected)
{
    Timings t{};
    SearchTexts texts;
    texts[0] = "本";
    Stopwatch watch;
    std::vector<int32_t> ids;
    std::optional<std::string> sql = BuildSearchStatement(texts);
    SearchOutcome outcome = CollectHitIds(g_globals.catalogue.db.get(), *sql, ids);
    t.statement = watch.Seconds();

    watch.Restart();
    g_globals.hits.clear();
    AppendHits(ids, g_globals.catalogue.books, g_globals.hits);
    t.hits = watch.Seconds();
    if (outcome != SearchOutcome::Done || static_cast<int>(g_globals.hits.size()) != expected)
        std::fprintf(stderr, "bench_search: %zu hits, expected %d\n", g_globals.hits.size(), expected);

    HWND results = CreateDialogParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_SEARCH_RESULTS), nullptr, InertProc, 0);
    HWND listView = GetDlgItem(results, IDC_BOOK_LIST);
    watch.Restart();
    ShowBooks(listView, BookList(g_globals.hits));
    t.view = watch.Seconds();
    int rows = Win32ListView(listView).Count();
    if (rows != expected) std::fprintf(stderr, "bench_search: %d rows, expected %d\n", rows, expected);

    watch.Restart();
    DestroyWindow(results);
    t.close = watch.Seconds();
    return t;
}

// The scan from the front per hit that the ID map replaces.
double LinearMatching()
{
    std::vector<int32_t> ids;
    for (const BookPtr& book : g_globals.catalogue.books) ids.push_back(book->GetID());
    Stopwatch watch;
    BookList hits;
    for (int32_t id : ids)
        if (BookPtr book = FindBookById(g_globals.catalogue.books, id)) hits.push_back(book);
    return watch.Seconds();
}

}  // namespace

int main()
{
    g_globals.instance = GetModuleHandleA(nullptr);
    InitCommonControls();
    ScratchDirectory dir;
    std::printf("%9s %12s %12s %12s %12s %12s\n", "records", "statement", "hit list", "view fill", "whole", "close");
    for (int count : {10000, 100000}) {
        if (!WriteCatalogue(count)) return 1;
        g_globals.catalogue.books.clear();
        for (int i = 0; i < count; ++i) g_globals.catalogue.books.push_back(MakeBook(MakeFields(i)));
        g_globals.catalogue.db.Open("Tomebox.sqlite");
        std::vector<double> statement, hits, view, whole, close;
        for (int run = 0; run < 3; ++run) {
            Timings t = SearchOnce(count);
            statement.push_back(t.statement);
            hits.push_back(t.hits);
            view.push_back(t.view);
            whole.push_back(t.statement + t.hits + t.view);
            close.push_back(t.close);
        }
        std::printf("%9d %10.3f s %10.3f s %10.3f s %10.3f s %10.3f s\n", count, Median(statement), Median(hits),
                    Median(view), Median(whole), Median(close));
        if (count == 10000) std::printf("%9s hit list by a scan per hit instead: %.3f s\n", "", LinearMatching());
        g_globals.catalogue.db.Close();
    }
    g_globals.hits.clear();
    g_globals.catalogue.books.clear();
    return 0;
}
