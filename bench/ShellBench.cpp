// The catalogue on screen and closed again, for catalogues of 1,000, 10,000
// and 100,000 Japanese records, each figure beside its floor: from the start
// of Tomebox.exe to its window shown with every row (floor: a bare program
// doing the same, bench/FloorCatalogue.cpp); the list view filled (floor:
// the same messages and nothing else); closing a window that holds every
// row (floor: destroying the bare list view); and a click on the 書名
// header, sorting every row by title reading (floor: the control sorting
// the same rows by ranks known beforehand).
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <algorithm>
#include <memory>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "support/ScratchDirectory.h"
#include "dialogs/Globals.h"
#include "app/Tomebox.h"
#include "store/CatalogueDatabase.h"
#include "store/TextEncoding.h"
#include "app/ListPane.h"
#include "listview/BookListView.h"
#include "listview/BookSort.h"
#include "resources/resource.h"

namespace {

const char* const kTitles[] = {"吾輩は猫である", "銀河鉄道の夜", "雪国", "表示ソフトの構造", "日本の歴史",
                               "現代数学入門", "料理の科学", "図書館の物語", "風と星の記憶", "O'Reillyの本"};
// Their readings, in either kana and in half width; one title has none.
const char* const kReadings[] = {"わがはいはねこである", "ギンガテツドウノヨル", "ﾕｷｸﾞﾆ", "ひょうじそふとのこうぞう",
                                 "ニホンノレキシ", "げんだいすうがくにゅうもん", "リョウリノカガク",
                                 "としょかんのものがたり", "かぜとほしのきおく", ""};
const char* const kAuthors[] = {"夏目漱石", "宮沢賢治", "川端康成", "佐藤太郎", "鈴木花子", "高橋健一", ""};
const char* const kPublishers[] = {"岩波書店", "新潮社", "講談社", "角川書店", "筑摩書房", ""};
const char* const kPlaces[] = {"書斎の本棚", "居間の棚", "寝室", "段ボール箱", ""};

bool WriteCatalogue(const char* file, int count)
{
    DeleteFileA(file);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(file, &db) == SQLITE_OK
              && sqlite3_exec(db, kCreateTableStatement, nullptr, nullptr, nullptr) == SQLITE_OK
              && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO Tomebox VALUES (?,?,?,'カナ',?,?,?,NULL,?,NULL,?,?)", -1,
                                  &insert, nullptr) == SQLITE_OK;
    auto text = [&](int column, const std::string& value) {
        sqlite3_bind_text(insert, column, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    };
    uint32_t state = 2463534242u;
    auto below = [&](uint32_t n) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state % n;
    };
    for (int i = 0; ok && i < count; ++i) {
        const uint32_t title = below(10);
        const std::string volume = std::to_string(1 + below(20));
        text(1, std::string(kTitles[title]) + " 第" + volume + "巻");
        text(2, *kReadings[title] ? std::string(kReadings[title]) + " " + volume : std::string());
        text(3, kAuthors[below(7)]);
        sqlite3_bind_int(insert, 4, 1950 + static_cast<int>(below(75)));
        sqlite3_bind_int(insert, 5, static_cast<int>(below(13)));
        text(6, kPublishers[below(6)]);
        text(7, kPlaces[below(5)]);
        text(8, "978-4-00-" + std::to_string(100000 + below(900000)) + "-" + std::to_string(below(10)));
        sqlite3_bind_int(insert, 9, i * 3 + 1);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT; PRAGMA user_version = 1;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok) std::fprintf(stderr, "bench_shell: writing a catalogue of %d failed\n", count);
    return ok;
}

void ClearSharedState()
{
    g_globals.catalogue.db.Close();
    g_globals.catalogue.books.clear();
    g_globals.catalogueView.reset();
    g_globals.commandBar = nullptr;
    g_globals.listPane = nullptr;
    g_globals.statusBar = nullptr;
}

void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT) DispatchMessageA(&message);
}

const WindowOperations kQuietWindow{[](const char* message) { std::fprintf(stderr, "shown: %s\n", message); },
                                    [] {}};

// List views left out of a closed window for the end of the process (see
// KeepRowsUntilExit): this process goes on, so they are destroyed here.
void DestroyListViewsKeptForExit()
{
    while (HWND kept = FindWindowExA(HWND_MESSAGE, nullptr, WC_LISTVIEWA, nullptr)) DestroyWindow(kept);
}

struct Fill {
    double fill, destroy;
};

// The program's own view and filler on the program's list pane.
Fill ProgramFill(const BookList& books)
{
    HWND listView = nullptr;
    HWND window = PaneWindow(CreateListPane, listView);
    Stopwatch watch;
    MakeBookView(listView, nullptr, 96)->Show(books);  // the floor's column widths
    Fill f{watch.Seconds(), 0};
    const int rows = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    if (rows != static_cast<int>(books.size())) std::fprintf(stderr, "bench_shell: %d rows filled\n", rows);
    watch.Restart();
    DestroyWindow(window);
    f.destroy = watch.Seconds();
    DrainQueue();
    return f;
}

// The floor of the fill: the same rows and texts, straight from the
// records into a bare pane with the same messages; and of closing:
// destroying that window.
Fill FloorFill(const BookList& books)
{
    HWND listView = nullptr;
    HWND window = PaneWindow(nullptr, listView);
    Stopwatch watch;
    bare::FillRows(listView, books);
    Fill f{watch.Seconds(), 0};
    watch.Restart();
    DestroyWindow(window);
    f.destroy = watch.Seconds();
    DrainQueue();
    return f;
}

// The program's start-up inside this process (window, load, list view),
// then the destruction of its main window, which is what closing it does.
Fill InProcessStartUpAndClose(int count)
{
    Stopwatch watch;
    HWND main = StartTomebox(GetModuleHandleA(nullptr), SW_SHOW);
    Fill f{watch.Seconds(), 0};
    const int rows = static_cast<int>(SendMessageA(CatalogueListView(), LVM_GETITEMCOUNT, 0, 0));
    if (rows != count) std::fprintf(stderr, "bench_shell: %d rows shown of %d\n", rows, count);
    watch.Restart();
    DestroyWindow(main);
    f.destroy = watch.Seconds();
    DrainQueue();
    ClearSharedState();
    DestroyListViewsKeptForExit();
    return f;
}

// The sort a click on 書名 makes: the program's view of every record on the
// program's list pane, sorted by title reading; and its floor, the same
// rows in a bare pane carrying their place in that order as item data,
// sorted by a comparison of two integers.  (LVM_SORTITEMSEX hands the
// comparison row indices, which move while the control sorts, so the
// floor compares item data, as the program does.)
double ProgramSort(const BookList& books)
{
    HWND listView = nullptr;
    HWND window = PaneWindow(CreateListPane, listView);
    std::unique_ptr<BookView> view = MakeBookView(listView, nullptr, 96);
    view->Show(books);
    Stopwatch watch;
    view->SortBy(kTitleColumn);
    const double seconds = watch.Seconds();
    DestroyWindow(window);
    DrainQueue();
    return seconds;
}

int CALLBACK CompareRanks(LPARAM first, LPARAM second, LPARAM)
{
    return first < second ? -1 : first > second ? 1 : 0;
}

double FloorSort(const BookList& books)
{
    // Each record's place in the sorted order, worked out beforehand.
    std::vector<std::pair<SortKey, std::size_t>> keys;
    for (std::size_t i = 0; i < books.size(); ++i) keys.emplace_back(SortKeyOf(*books[i], kTitleColumn), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return SortsBefore(a.first, b.first, true); });
    std::vector<BookId> rank(books.size());
    for (std::size_t place = 0; place < keys.size(); ++place) rank[keys[place].second] = static_cast<BookId>(place);
    BookList ranked;
    for (std::size_t i = 0; i < books.size(); ++i) {
        BookFields fields = books[i]->Fields();
        fields.ID = rank[i];
        ranked.push_back(MakeBook(std::move(fields)));
    }
    HWND listView = nullptr;
    HWND window = PaneWindow(nullptr, listView);
    bare::FillRows(listView, ranked);
    Stopwatch watch;
    SendMessageW(listView, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareRanks));
    const double seconds = watch.Seconds();
    DestroyWindow(window);
    DrainQueue();
    return seconds;
}

BOOL CALLBACK KeepListView(HWND child, LPARAM result)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) != "SysListView32") return TRUE;
    *reinterpret_cast<HWND*>(result) = child;
    return FALSE;
}

HWND FindListView(HWND main)
{
    HWND found = nullptr;
    EnumChildWindows(main, KeepListView, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct Run {
    double shown, closed;
};

// A program started in the current directory, until its window (of the
// given class) is visible and its list view holds every row: the list view
// answers only once the program's thread reaches its message loop, after
// the fill.  Then closed as the close box closes it, until the process has
// ended.
Run ProcessRun(const std::string& program, const char* windowClass, int count)
{
    if (FindWindowA(windowClass, nullptr)) std::fprintf(stderr, "bench_shell: a %s is already running\n", windowClass);
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    Stopwatch watch;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "bench_shell: cannot start %s (%lu)\n", program.c_str(), GetLastError());
        return {};
    }
    Run run{};
    HWND main = nullptr;
    for (;;) {
        if (watch.Seconds() > 60 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "bench_shell: no filled window after %.1f s\n", watch.Seconds());
            break;
        }
        if (!main) main = FindWindowA(windowClass, nullptr);
        HWND view = main ? FindListView(main) : nullptr;
        DWORD_PTR rows = 0;
        if (view && IsWindowVisible(main) && IsWindowVisible(view) &&
            SendMessageTimeoutA(view, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &rows) &&
            static_cast<int>(rows) == count) {
            run.shown = watch.Seconds();
            break;
        }
        Sleep(1);
    }
    watch.Restart();
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "bench_shell: %s did not end\n", program.c_str());
        TerminateProcess(process.hProcess, 1);
    }
    run.closed = watch.Seconds();
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (exitCode != 0) std::fprintf(stderr, "bench_shell: %s ended with %lu\n", program.c_str(), exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
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
    const std::string program = Win32Path(TOMEBOX_PROGRAM);
    const std::string floorProgram = Win32Path(TOMEBOX_FLOOR_PROGRAM);
    ScratchDirectory dir;
    const int repeats = 5;
    std::printf("bench_shell: the catalogue shown and closed, median of %d runs (ms)\n", repeats);
    std::printf("%8s | %32s | %29s | %42s | %26s\n", "", "shown, from process start", "list view filled, in process",
                "closed, with every row", "sorted by 書名, in process");
    std::printf("%8s | %11s %11s %8s | %10s %10s %7s | %11s %11s %9s %9s | %8s %8s %7s\n", "records", "Tomebox.exe",
                "floor", "ratio", "view fill", "floor", "ratio", "Tomebox.exe", "floor", "window", "floor", "view",
                "floor", "ratio");
    double shownRatio = 0, fillRatio = 0, closedExe = 0, closedWindow = 0, sortRatio = 0;
    for (int count : {0, 1000, 10000, 100000}) {
        if (!WriteCatalogue("Tomebox.sqlite", count)) return 1;
        std::vector<double> shown, shownFloor, closed, closedFloor, fill, fillFloor, window, windowFloor, sort, sortFloor;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            const Run exe = ProcessRun(program, "TOMEBOX", count);
            const Run bareExe = ProcessRun(floorProgram, "TOMEBOX_FLOOR", count);
            shown.push_back(exe.shown);
            closed.push_back(exe.closed);
            shownFloor.push_back(bareExe.shown);
            closedFloor.push_back(bareExe.closed);

            if (StartCatalogueDatabase(g_globals.catalogue, kQuietWindow) != StartupOutcome::Ready) std::fprintf(stderr, "bench_shell: load\n");
            g_globals.catalogue.db.Close();
            // In turn first and second: a fill finds the heap as the
            // destruction of the one before left it.
            Fill programFill, floorFill;
            if (repeat % 2 == 0) {
                programFill = ProgramFill(g_globals.catalogue.books);
                floorFill = FloorFill(g_globals.catalogue.books);
            } else {
                floorFill = FloorFill(g_globals.catalogue.books);
                programFill = ProgramFill(g_globals.catalogue.books);
            }
            sort.push_back(ProgramSort(g_globals.catalogue.books));
            sortFloor.push_back(FloorSort(g_globals.catalogue.books));
            ClearSharedState();
            fill.push_back(programFill.fill);
            fillFloor.push_back(floorFill.fill);
            windowFloor.push_back(floorFill.destroy);

            window.push_back(InProcessStartUpAndClose(count).destroy);
        }
        std::printf("%8d | %11.1f %11.1f %8s | %10.1f %10.1f %7s | %11.1f %11.1f %9.1f %9.1f | %8.1f %8.1f %7s\n",
                    count, Ms(shown), Ms(shownFloor), Ratio(Ms(shown), Ms(shownFloor)), Ms(fill), Ms(fillFloor),
                    Ratio(Ms(fill), Ms(fillFloor)), Ms(closed), Ms(closedFloor), Ms(window), Ms(windowFloor),
                    Ms(sort), Ms(sortFloor), Ratio(Ms(sort), Ms(sortFloor)));
        std::fflush(stdout);
        shownRatio = Ms(shown) / Ms(shownFloor);
        sortRatio = Ms(sort) / Ms(sortFloor);
        fillRatio = Ms(fill) / Ms(fillFloor);
        closedExe = Median(closed);
        closedWindow = Median(window);
    }
    std::printf(
        "shown: from CreateProcess to the visible window whose list view answers with every row; floor: a\n"
        "bare program (floor_catalogue) that steps through the table, converts every text, and inserts\n"
        "the rows with the same messages into the same list pane.  filled: a book view on the program's\n"
        "list pane; floor: the same messages straight from the records.  closed: Tomebox.exe from\n"
        "WM_CLOSE to the end of the process (floor: the bare program's); window: DestroyWindow of the\n"
        "main window after StartTomebox in this process (floor: destroying the bare filled pane).\n"
        "targets at 100,000 records: shown within 1.1x its floor (%.2fx): %s; closed within 0.2 s\n"
        "(Tomebox.exe %.2f s, main window %.2f s): %s\n",
        shownRatio, shownRatio <= 1.1 ? "met" : "not met", closedExe, closedWindow,
        closedExe <= 0.2 && closedWindow <= 0.2 ? "met" : "not met");
    std::printf("filled within 1.1x its floor (%.2fx): %s\n", fillRatio, fillRatio <= 1.1 ? "met" : "not met");
    std::printf(
        "sorted: a click on 書名 in a view of every record (keys, order, the control's sort); floor: the\n"
        "same rows in a bare pane, their places worked out beforehand, sorted by comparing two integers.\n"
        "target: within 1.5x its floor (%.2fx): %s\n",
        sortRatio, sortRatio <= 1.5 ? "met" : "not met");
    return 0;
}
