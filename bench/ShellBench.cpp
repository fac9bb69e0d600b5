// The catalogue on screen: from the start of Tomebox.exe to its window shown
// with every row in the catalogue list view, for catalogues of 1,000,
// 10,000 and 100,000 Japanese records, next to the store's load of the same
// file and the same start-up run inside this process.
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <algorithm>
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

namespace {

const char* const kTitles[] = {"吾輩は猫である", "銀河鉄道の夜", "雪国", "表示ソフトの構造", "日本の歴史",
                               "現代数学入門", "料理の科学", "図書館の物語", "風と星の記憶", "O'Reillyの本"};
const char* const kAuthors[] = {"夏目漱石", "宮沢賢治", "川端康成", "佐藤太郎", "鈴木花子", "高橋健一", ""};
const char* const kPublishers[] = {"岩波書店", "新潮社", "講談社", "角川書店", "筑摩書房", ""};
const char* const kPlaces[] = {"書斎の本棚", "居間の棚", "寝室", "段ボール箱", ""};

// Code page 932 texts, as the program holds them; written as UTF-8.
bool WriteCatalogue(const char* file, int count)
{
    DeleteFileA(file);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(file, &db) == SQLITE_OK &&
              sqlite3_exec(db,
                           "CREATE TABLE IF NOT EXISTS 'Tomebox' ('BookName' TEXT NOT NULL, 'BookNameKana' TEXT, "
                           "'Author' TEXT, 'AuthorKana' TEXT, 'Year' INTEGER, 'Month' INTEGER, 'Publisher' TEXT, "
                           "'PublisherKana' TEXT, 'Place' TEXT, 'PlaceKana' TEXT, 'ISBN' TEXT, "
                           "'ID' INTEGER PRIMARY KEY); BEGIN;",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO Tomebox VALUES (?,'カナ',?,'カナ',?,?,?,NULL,?,NULL,?,?)", -1,
                                  &insert, nullptr) == SQLITE_OK;
    auto text = [&](int column, std::string value) {
        value = AnsiToUtf8(value);
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
        text(1, std::string(kTitles[below(10)]) + " 第" + std::to_string(1 + below(20)) + "巻");
        text(2, kAuthors[below(7)]);
        sqlite3_bind_int(insert, 3, 1950 + static_cast<int>(below(75)));
        sqlite3_bind_int(insert, 4, static_cast<int>(below(13)));
        text(5, kPublishers[below(6)]);
        text(6, kPlaces[below(5)]);
        text(7, "978-4-00-" + std::to_string(100000 + below(900000)) + "-" + std::to_string(below(10)));
        sqlite3_bind_int(insert, 8, i * 3 + 1);
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
    g_globals.commandBar = nullptr;
    g_globals.listPane = nullptr;
}

void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT) DispatchMessageA(&message);
}

const WindowOperations kQuietWindow{[](const char* message) { std::fprintf(stderr, "shown: %s\n", message); },
                                    [] {}};

// The store alone: open, verify and load every row.
double StoreLoad(int count)
{
    Stopwatch watch;
    const bool ready = StartCatalogueDatabase(g_globals.catalogue, kQuietWindow) == StartupOutcome::Ready;
    const double seconds = watch.Seconds();
    if (!ready || static_cast<int>(g_globals.catalogue.books.size()) != count)
        std::fprintf(stderr, "bench_shell: load failed\n");
    CloseCatalogueDatabase(g_globals.catalogue, kQuietWindow);
    ClearSharedState();
    DrainQueue();
    return seconds;
}

// The program's start-up inside this process: window, load, list view.
double InProcessStartUp(int count)
{
    Stopwatch watch;
    HWND main = StartTomebox(GetModuleHandleA(nullptr), SW_SHOW);
    const double seconds = watch.Seconds();
    const int rows = static_cast<int>(SendMessageA(CatalogueListView(), LVM_GETITEMCOUNT, 0, 0));
    if (rows != count) std::fprintf(stderr, "bench_shell: %d rows shown of %d\n", rows, count);
    DestroyWindow(main);
    DrainQueue();
    ClearSharedState();
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

std::string ProgramPath()
{
#ifdef __WINE__
    WCHAR* dos = wine_get_dos_file_name(TOMEBOX_PROGRAM);
    if (!dos) return {};
    char path[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, dos, -1, path, sizeof path, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
    return path;
#else
    return TOMEBOX_PROGRAM;
#endif
}

// Tomebox.exe started in the current directory, until its window is visible
// and its list view holds every row.  The list view answers only once the
// program's thread reaches its message loop, after the fill.
double ProcessStartUp(const std::string& program, int count)
{
    if (FindWindowA("TOMEBOX", nullptr)) std::fprintf(stderr, "bench_shell: a Tomebox is already running\n");
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    Stopwatch watch;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "bench_shell: cannot start %s (%lu)\n", program.c_str(), GetLastError());
        return 0;
    }
    double seconds = 0;
    HWND main = nullptr;
    for (;;) {
        if (watch.Seconds() > 60 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "bench_shell: no filled window after %.1f s\n", watch.Seconds());
            break;
        }
        if (!main) main = FindWindowA("TOMEBOX", nullptr);
        HWND view = main ? FindListView(main) : nullptr;
        DWORD_PTR rows = 0;
        if (view && IsWindowVisible(main) && IsWindowVisible(view) &&
            SendMessageTimeoutA(view, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &rows) &&
            static_cast<int>(rows) == count) {
            seconds = watch.Seconds();
            break;
        }
        Sleep(1);
    }
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "bench_shell: Tomebox did not end\n");
        TerminateProcess(process.hProcess, 1);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (exitCode != 0) std::fprintf(stderr, "bench_shell: Tomebox ended with %lu\n", exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

}  // namespace

int main()
{
    if (GetACP() != 932) std::fprintf(stderr, "bench_shell: the ANSI code page is %u, not 932\n", GetACP());
    const std::string program = ProgramPath();
    ScratchDirectory dir;
    std::printf("bench_shell: catalogue shown, median of repeated runs (ms)\n");
    std::printf("%8s %10s %12s %10s %14s\n", "records", "store load", "in-process", "list view", "Tomebox.exe");
    double largest = 0;
    for (int count : {0, 1000, 10000, 100000}) {
        if (!WriteCatalogue("Tomebox.sqlite", count)) return 1;
        const int repeats = count >= 100000 ? 3 : 5;
        std::vector<double> load, inProcess, process;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            load.push_back(StoreLoad(count));
            inProcess.push_back(InProcessStartUp(count));
            process.push_back(ProcessStartUp(program, count));
        }
        const double loadMs = Median(load) * 1000, inProcessMs = Median(inProcess) * 1000;
        const double processMs = Median(process) * 1000;
        std::printf("%8d %10.1f %12.1f %10.1f %14.1f\n", count, loadMs, inProcessMs, inProcessMs - loadMs, processMs);
        std::fflush(stdout);
        if (count == 100000) largest = Median(process);
    }
    std::printf("store load: StartCatalogueDatabase; in-process: StartTomebox (window, load, columns and rows);\n"
                "list view: the difference; Tomebox.exe: from CreateProcess to the visible window whose list\n"
                "view answers with every row (0 records: the cost of starting a Wine process).\n"
                "target: 100,000 records shown within 3 s: %s\n",
                largest > 0 && largest <= 3.0 ? "met" : "not met");
    return 0;
}
