#include "support/RunningTomebox.h"

#include <sqlite3.h>
#include "app/Tomebox.h"
#include "dialogs/Globals.h"
#include "resources/resource.h"
#include "support/GTestWin32.h"

namespace {

void ClearSharedState()
{
    g_globals.systemDpi = 96;
    g_globals.catalogue.db.Close();
    g_globals.catalogue.books.clear();
    g_globals.catalogue.insertNamesColumns = false;
    g_globals.catalogueView.reset();
    g_globals.resultsViews.clear();
    g_globals.commandBar = nullptr;
    g_globals.listPane = nullptr;
    g_globals.statusBar = nullptr;
}

void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) DispatchMessageA(&message);
    }
}

}  // namespace

RunningTomebox::RunningTomebox()
{
    ClearSharedState();
    DrainQueue();
    main_ = StartTomebox(GetModuleHandleA(nullptr), SW_SHOW);
}

RunningTomebox::~RunningTomebox()
{
    if (main_ && IsWindow(main_)) DestroyWindow(main_);
    DrainQueue();
    ClearSharedState();
}

HWND RunningTomebox::commandBar() const
{
    return g_globals.commandBar;
}

HWND RunningTomebox::catalogueView() const
{
    return GetDlgItem(g_globals.listPane, IDC_BOOK_LIST);
}

int RunningTomebox::RunLoop()
{
    loopEnded_ = true;
    return RunMessageLoop();
}

int RunningTomebox::Exit()
{
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
    return RunLoop();
}

void WriteDatabase(const std::string& fileName, const std::string& sql)
{
    sqlite3* db = nullptr;
    char* error = nullptr;
    // A catalogue that is not what the test wrote would make it test
    // something else: a failing statement fails the test.
    if (sqlite3_open(fileName.c_str(), &db) != SQLITE_OK)
        ADD_FAILURE() << "cannot open " << fileName << ": " << sqlite3_errmsg(db);
    else if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << "writing " << fileName << " failed: " << (error ? error : "?");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::vector<std::string> QueryDatabase(const std::string& fileName, const std::string& sql)
{
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(fileName.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                std::string row;
                for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                    if (i) row += '|';
                    const unsigned char* text = sqlite3_column_text(statement, i);
                    row += text ? reinterpret_cast<const char*>(text) : "NULL";
                }
                rows.push_back(row);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}
