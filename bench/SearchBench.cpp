// A search whose condition matches every record, over catalogues of 1,000,
// 10,000 and 100,000 Japanese records: the statement (build, prepare, step)
// and the hit list; then the real results window shown with every hit and
// closed again, each beside its floor (the same template filled with the
// same messages and nothing else; destroying it).
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "support/ScratchDirectory.h"
#include "dialogs/Globals.h"
#include "store/CatalogueDatabase.h"
#include "dialogs/SearchResults.h"
#include "dialogs/SearchStatement.h"
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
              && sqlite3_exec(db, kCreateTableStatement, nullptr, nullptr, nullptr) == SQLITE_OK
              && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO Tomebox VALUES (?,?,?,NULL,?,?,?,NULL,?,NULL,?,?)", -1, &insert,
                                  nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < count; ++i) {
        BookFields f = MakeFields(i);
        const std::string texts[] = {f.BookName, f.BookNameKana, f.Author, f.Publisher, f.Place, f.ISBN};
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

// The hits of the last search, which the results window is opened on.
BookList s_hits;

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void LayOutLikeTheResultsWindow(HWND dialog, HWND listView)
{
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(listView, 0, 30, client.right, client.bottom - 30, FALSE);
}

struct Timings {
    double statement = 0, hits = 0;
    double open = 0, openFloor = 0;  // the window shown with every hit
    double closed = 0, closedFloor = 0;  // until the program handles messages again
    double released = 0;             // until the modal call returned
    double longestPause = 0;         // between the ticks of a 10 ms timer meanwhile
};

// The floor of showing the hits: a dialog of the same template filled with
// the same messages straight from the records, laid out and shown; and of
// closing it: destroying it.
void FloorWindow(HWND owner, Timings& t)
{
    Stopwatch watch;
    HWND dialog = CreateDialogParamA(g_globals.instance, MAKEINTRESOURCEA(IDD_SEARCH_RESULTS), owner, InertProc, 0);
    HWND listView = GetDlgItem(dialog, IDC_BOOK_LIST);
    bare::FillRows(listView, s_hits);
    LayOutLikeTheResultsWindow(dialog, listView);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    t.openFloor = watch.Seconds();
    watch.Restart();
    DestroyWindow(dialog);
    t.closedFloor = watch.Seconds();
    DrainQueue();
}

// The real results window, opened over the owner and closed with the
// Escape key's command once its modal loop has shown it (see OwnerProc).
// A bench window meanwhile notes when a message posted right after the
// close is handled (the program answers again) and the longest pause
// between the ticks of its 10 ms timer until the modal call returns.
struct RealWindowRun {
    Stopwatch watch;
    double shown = -1, closeSent = -1, answered = -1, lastTick = -1, longestPause = 0;
    int expectedRows = 0;
};
RealWindowRun* g_run = nullptr;
constexpr UINT kAnswered = WM_APP + 1;
constexpr UINT_PTR kTickTimer = 1;

void NoteTick(double now)
{
    if (g_run->lastTick >= 0) g_run->longestPause = std::max(g_run->longestPause, now - g_run->lastTick);
    g_run->lastTick = now;
}

// The window just shown by its modal loop: painted and measured, then
// closed.
void ShownThenClose(HWND probe, HWND results)
{
    UpdateWindow(results);
    g_run->shown = g_run->watch.Seconds();
    if (!IsWindowVisible(results)) std::fprintf(stderr, "bench_search: the window was not shown yet\n");
    const int rows = static_cast<int>(SendMessageA(GetDlgItem(results, IDC_BOOK_LIST), LVM_GETITEMCOUNT, 0, 0));
    if (rows != g_run->expectedRows) std::fprintf(stderr, "bench_search: %d rows shown\n", rows);
    g_run->closeSent = g_run->watch.Seconds();
    SendMessageA(results, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(probe, kAnswered, 0, 0);
    if (IsWindowVisible(results)) std::fprintf(stderr, "bench_search: the window stayed visible\n");
    g_run->lastTick = g_run->watch.Seconds();
    SetTimer(probe, kTickTimer, 10, nullptr);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!g_run) return DefWindowProcA(window, message, wParam, lParam);
    const double now = g_run->watch.Seconds();
    switch (message) {
    case WM_TIMER:
        NoteTick(now);
        return 0;
    case kAnswered:
        if (g_run->answered < 0) g_run->answered = now;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND ProbeWindow()
{
    static HWND probe = nullptr;
    if (!probe) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ProbeProc;
        windowClass.hInstance = g_globals.instance;
        windowClass.lpszClassName = "BENCH_PROBE";
        RegisterClassA(&windowClass);
        probe = CreateWindowExA(0, "BENCH_PROBE", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_globals.instance, nullptr);
    }
    return probe;
}

void RealWindow(HWND owner, Timings& t)
{
    RealWindowRun run;
    run.expectedRows = static_cast<int>(s_hits.size());
    g_run = &run;
    HWND probe = ProbeWindow();
    run.watch.Restart();
    OpenSearchResults(owner, s_hits);
    const double returned = run.watch.Seconds();
    NoteTick(returned);
    KillTimer(probe, kTickTimer);
    DrainQueue();
    g_run = nullptr;
    if (run.shown < 0 || run.answered < 0) {
        std::fprintf(stderr, "bench_search: the results window was never shown\n");
        return;
    }
    t.open = run.shown;
    t.closed = run.answered - run.closeSent;
    t.released = returned - run.closeSent;
    t.longestPause = run.longestPause;
}

Timings SearchOnce(HWND owner, int expected)
{
    Timings t{};
    SearchTexts texts;
    texts[0] = "本";
    Stopwatch watch;
    std::vector<BookId> ids;
    std::optional<std::string> sql = BuildSearchStatement(texts);
    SearchOutcome outcome = CollectHitIds(g_globals.catalogue.db.get(), *sql, ids);
    t.statement = watch.Seconds();

    watch.Restart();
    s_hits.clear();
    AppendHits(ids, g_globals.catalogue.books, s_hits);
    t.hits = watch.Seconds();
    if (outcome != SearchOutcome::Done || static_cast<int>(s_hits.size()) != expected)
        std::fprintf(stderr, "bench_search: %zu hits, expected %d\n", s_hits.size(), expected);

    FloorWindow(owner, t);
    RealWindow(owner, t);
    return t;
}

// The owner of the results window hears when the modal loop first finds
// its queue empty: the loop has just shown the window (lParam), after its
// initialisation filled the rows.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_run && g_run->shown < 0) {
        ShownThenClose(ProbeWindow(), reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The scan from the front per hit that the ID map replaces.
double LinearMatching()
{
    std::vector<BookId> ids;
    for (const BookPtr& book : g_globals.catalogue.books) ids.push_back(book->GetID());
    Stopwatch watch;
    BookList hits;
    for (BookId id : ids)
        if (BookPtr book = FindBookById(g_globals.catalogue.books, id)) hits.push_back(book);
    return watch.Seconds();
}

double Ms(const std::vector<double>& seconds)
{
    return Median(seconds) * 1000;
}

}  // namespace

int main()
{
    g_globals.instance = GetModuleHandleA(nullptr);
    InitCommonControls();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = g_globals.instance;
    windowClass.lpszClassName = "BENCH_OWNER";
    RegisterClassA(&windowClass);
    // In the program the owner is the conditions dialog, ended and hidden;
    // its own owner, the main window, stays usable meanwhile.
    HWND owner = CreateWindowExA(0, "BENCH_OWNER", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                 nullptr, nullptr, g_globals.instance, nullptr);
    ScratchDirectory dir;
    const int repeats = 5;
    std::printf("bench_search: a search that hits every record, median of %d runs (ms)\n", repeats);
    std::printf("%8s | %9s %9s | %28s | %50s\n", "", "", "", "results window shown", "results window closed");
    std::printf("%8s | %9s %9s | %9s %9s %8s | %9s %9s %10s %9s %9s\n", "records", "statement", "hit list",
                "window", "floor", "ratio", "closed", "floor", "released", "pause", "whole");
    double openRatio = 0, closed = 0;
    for (int count : {1000, 10000, 100000}) {
        if (!WriteCatalogue(count)) return 1;
        g_globals.catalogue.books.clear();
        for (int i = 0; i < count; ++i) g_globals.catalogue.books.push_back(MakeBook(MakeFields(i)));
        g_globals.catalogue.db.Open("Tomebox.sqlite");
        std::vector<double> statement, hits, open, openFloor, closedMs, closedFloor, released, pause, whole;
        for (int run = 0; run < repeats; ++run) {
            Timings t = SearchOnce(owner, count);
            statement.push_back(t.statement);
            hits.push_back(t.hits);
            open.push_back(t.open);
            openFloor.push_back(t.openFloor);
            closedMs.push_back(t.closed);
            closedFloor.push_back(t.closedFloor);
            released.push_back(t.released);
            pause.push_back(t.longestPause);
            whole.push_back(t.statement + t.hits + t.open);
        }
        std::printf("%8d | %9.1f %9.1f | %9.1f %9.1f %8s | %9.1f %9.1f %10.1f %9.1f %9.1f\n", count, Ms(statement),
                    Ms(hits), Ms(open), Ms(openFloor), Ratio(Ms(open), Ms(openFloor)), Ms(closedMs),
                    Ms(closedFloor), Ms(released), Ms(pause), Ms(whole));
        std::fflush(stdout);
        if (count == 10000) std::printf("%8s   hit list by a scan per hit instead: %.1f ms\n", "", LinearMatching() * 1000);
        openRatio = Ms(open) / Ms(openFloor);
        closed = Median(closedMs);
        g_globals.catalogue.db.Close();
    }
    std::printf(
        "window shown: OpenSearchResults until its modal loop runs with the window shown and painted;\n"
        "floor: a dialog of the same template filled with the same messages straight from the\n"
        "records, laid out, shown and painted.  closed: from the Escape key's command to the\n"
        "next message handled; floor: DestroyWindow of the bare dialog.  released: until the modal call\n"
        "returned; pause: the longest gap between ticks of a 10 ms timer meanwhile.  whole: statement,\n"
        "hit list and window shown.\n"
        "targets at 100,000 records: window shown within 1.1x its floor (%.2fx): %s; closed within 0.2 s\n"
        "(%.2f s): %s\n",
        openRatio, openRatio <= 1.1 ? "met" : "not met", closed, closed <= 0.2 ? "met" : "not met");
    DestroyWindow(owner);
    s_hits.clear();
    g_globals.catalogue.books.clear();
    return 0;
}
