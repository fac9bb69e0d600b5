#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include "dialogs/Globals.h"
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "support/UiHarness.h"
#include "support/Catalogues.h"
#ifdef __WINE__
#include <dirent.h>
#include <unistd.h>
#endif

namespace {

// How many descriptors of this process are open on the file in the current
// directory.  SQLite is a Unix library under Winelib: an open connection
// holds one.  A Windows build's SQLite holds a handle instead, which this
// does not see: there the count is 0 and a check for an open one is left out.
#ifdef __WINE__
constexpr bool kDescriptorsCounted = true;
#else
constexpr bool kDescriptorsCounted = false;
#endif
int OpenDescriptorsOn(const std::string& fileName)
{
    int count = 0;
#ifdef __WINE__
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return -1;
    const std::string path = std::string(cwd) + "/" + fileName;
    DIR* fds = opendir("/proc/self/fd");
    if (!fds) return -1;
    while (dirent* entry = readdir(fds)) {
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        char target[4096];
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0 && path == std::string(target, static_cast<size_t>(length))) ++count;
    }
    closedir(fds);
#endif
    return count;
}

RECT RectIn(HWND window, HWND parent)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ColumnTitle(HWND listView, int column)
{
    WCHAR title[64] = {};
    LVCOLUMNW item = {};
    item.mask = LVCF_TEXT;
    item.pszText = title;
    item.cchTextMax = 64;
    SendMessageW(listView, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&item));
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(title));
}

std::vector<int> CatalogueIds()
{
    std::vector<int> ids;
    for (const BookPtr& book : g_globals.catalogue.books) ids.push_back(book->GetID());
    return ids;
}

void WriteEmptyFile(const char* name)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
}

TEST(StartUp, MissingOrEmptyFileStartsAnEmptyCatalogue)
{
    const struct {
        const char* name;
        std::function<void()> prepare;
    } cases[] = {
        {"missing file", [] {}},
        {"empty file", [] { WriteEmptyFile(kCatalogueFile); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        c.prepare();
        UiHarness ui;
        RunningTomebox app;
        ASSERT_TRUE(app.mainWindow());
        EXPECT_TRUE(ui.Boxes().empty());
        EXPECT_EQ(0, RowCount(app.catalogueView()));
        EXPECT_TRUE(g_globals.catalogue.books.empty());
        EXPECT_EQ(0, app.Exit());
        EXPECT_EQ(std::vector<std::string>{"1"}, QueryDatabase(kCatalogueFile, "PRAGMA user_version"));
        EXPECT_EQ(std::vector<std::string>{"0"}, QueryDatabase(kCatalogueFile, "SELECT count(*) FROM Tomebox"));
    }
}

TEST(StartUp, PopulatedCatalogueFillsTheViewInListOrder)
{
    ScratchDirectory dir;
    WriteDatabase(kCatalogueFile, SampleCatalogueSql());
    UiHarness ui;
    RunningTomebox app;
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(kSampleIds, CatalogueIds());
    HWND view = app.catalogueView();
    const auto expected = SampleRows();
    ASSERT_EQ(static_cast<int>(expected.size()), RowCount(view));
    for (int row = 0; row < RowCount(view); ++row) {
        EXPECT_EQ(kSampleIds[static_cast<size_t>(row)], RowItemData(view, row)) << "row " << row;
        EXPECT_EQ(expected[static_cast<size_t>(row)], RowTexts(view, row)) << "row " << row;
    }
    EXPECT_EQ(0, app.Exit());
}

TEST(StartUp, ForeignLayoutIsReportedAndLeavesTheFileUntouched)
{
    ScratchDirectory dir;
    WriteDatabase(kCatalogueFile,
                  u8"CREATE TABLE Tomebox (BookName TEXT NOT NULL, Author TEXT, ID INTEGER PRIMARY KEY);"
                  u8"INSERT INTO Tomebox VALUES ('吾輩は猫である', '夏目漱石', 1);");
    const std::string before = ReadFileBytes(kCatalogueFile);
    ASSERT_FALSE(before.empty());
    UiHarness ui;
    RunningTomebox app;
    ASSERT_TRUE(app.mainWindow());
    EXPECT_EQ(std::vector<ShownBox>{ErrorBox("テーブル定義の異なるTomebox.sqliteファイルを読み込みました", app.mainWindow())},
              ui.Boxes());
    EXPECT_EQ(0, OpenDescriptorsOn(kCatalogueFile));
    // The shell still finishes its set-up, with nothing loaded.
    EXPECT_TRUE(IsWindowVisible(g_globals.listPane));
    EXPECT_EQ(7, Header_GetItemCount(ListView_GetHeader(app.catalogueView())));
    EXPECT_EQ(0, RowCount(app.catalogueView()));
    EXPECT_EQ(0, app.RunLoop());
    // The loop ended on the quit request alone: the window was not destroyed.
    EXPECT_TRUE(IsWindow(app.mainWindow()));
    EXPECT_EQ(1u, ui.Boxes().size());
    EXPECT_TRUE(before == ReadFileBytes(kCatalogueFile));
}

// Rows over several pages, the last page then overwritten: the load stops
// partway.
void WriteDamagedCatalogue()
{
    std::string rows = "BEGIN;";
    for (int id = 0; id < 40; ++id)
        rows += "INSERT INTO Tomebox (BookName, ID) VALUES ('" + std::string(1000, 'a') + "', " + std::to_string(id) + ");";
    WriteDatabase(kCatalogueFile, CatalogueSql(rows + "COMMIT;"));
    HANDLE file = CreateFileA(kCatalogueFile, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFilePointer(file, -4096, nullptr, FILE_END);
    const std::string damage(4096, '\xFF');
    DWORD written = 0;
    WriteFile(file, damage.data(), static_cast<DWORD>(damage.size()), &written, nullptr);
    CloseHandle(file);
}

TEST(StartUp, DamagedCatalogueIsReportedAndLeftAsItWas)
{
    ScratchDirectory dir;
    WriteDamagedCatalogue();
    const std::string before = ReadFileBytes(kCatalogueFile);
    UiHarness ui;
    RunningTomebox app;
    EXPECT_EQ(std::vector<ShownBox>{ErrorBox("SQLから情報の読み込みに失敗しました", app.mainWindow())}, ui.Boxes());
    EXPECT_EQ(0, app.RunLoop());
    EXPECT_TRUE(before == ReadFileBytes(kCatalogueFile));
}

// A catalogue restored from a dump: version 0, its texts UTF-8 already.
// They are shown as they are, and the file as it was is kept beside it.
TEST(StartUp, CatalogueRestoredFromADumpStaysReadable)
{
    ScratchDirectory dir;
    const std::string rows = u8"INSERT INTO Tomebox (BookName, Author, ID) VALUES ('紀元前の書', '舎人親王', 4);";
    WriteDatabase(kCatalogueFile, kCreateTableStatement + rows);
    UiHarness ui;
    RunningTomebox app;
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ((std::vector<std::string>{"紀元前の書", "舎人親王", "", "0", "0", "", ""}), RowTexts(app.catalogueView(), 0));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ(std::vector<std::string>{u8"紀元前の書|舎人親王|1"},
              QueryDatabase(kCatalogueFile, "SELECT BookName, Author, user_version FROM Tomebox, pragma_user_version"));
    EXPECT_EQ(std::vector<std::string>{u8"紀元前の書|舎人親王|0"},
              QueryDatabase(kVersion0CopyName, "SELECT BookName, Author, user_version FROM Tomebox, pragma_user_version"));
}

TEST(MainWindow, CatalogueViewColumnsAndStyles)
{
    ScratchDirectory dir;
    UiHarness ui;
    RunningTomebox app;
    HWND view = app.catalogueView();
    char className[32] = {};
    GetClassNameA(view, className, sizeof className);
    EXPECT_EQ(std::string("SysListView32"), className);
    // Version 6 of the common controls, as the manifest asks: the copy of
    // the side-by-side assembly, not the system directory's.  (Wine's says
    // 5.81 to DllGetVersion all the same.)
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    CharLowerW(path);
    const std::string module = Utf16ToUtf8(reinterpret_cast<const char16_t*>(path));
    EXPECT_NE(std::string::npos, module.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0.")) << module;

    // Their widths are SystemDpi.PixelFiguresAreScaledByIt's.
    const char* const titles[] = {"書名", "著者", "場所", "発行年", "発行月", "出版者", "ISBN"};
    ASSERT_EQ(7, Header_GetItemCount(ListView_GetHeader(view)));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(titles[i], ColumnTitle(view, i)) << i;
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT;
        ASSERT_TRUE(SendMessageW(view, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column))) << i;
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK) << i;
    }
    EXPECT_EQ(0x21, SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const LONG style = GetWindowLongA(view, GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_EQ(LVS_ALIGNLEFT, style & LVS_ALIGNMASK);
    EXPECT_EQ(0, style & (LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_OWNERDATA));
    // The dialog manager draws a control's border as a client edge.
    EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongA(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_EQ(0, app.Exit());
}

// The figures given in pixels, at the system DPI of the run: 96, or what
// TOMEBOX_TEST_DPI says the prefix was given (tests/at-dpi).
struct PixelFigures {
    int dpi;
    int columnWidths[kBookColumnCount];
    int bandBelowMenu;  // the main window's, above the list pane
    int resultsListTop;
};
const PixelFigures kPixelFigures[] = {
    {96, {200, 100, 100, 50, 50, 100, 100}, 10, 30},
    {144, {300, 150, 150, 75, 75, 150, 150}, 15, 45},
};

// The widths, and each title fits its column: the text with the header's
// margin on either side.
void ExpectColumns(HWND listView, const int (&widths)[kBookColumnCount])
{
    const int margin = static_cast<int>(SendMessageW(ListView_GetHeader(listView), HDM_GETBITMAPMARGIN, 0, 0));
    for (int i = 0; i < kBookColumnCount; ++i) {
        const int width = static_cast<int>(SendMessageW(listView, LVM_GETCOLUMNWIDTH, i, 0));
        EXPECT_EQ(widths[i], width) << i;
        const std::u16string title = Utf8ToUtf16(ColumnTitle(listView, i));
        const int text = static_cast<int>(SendMessageW(listView, LVM_GETSTRINGWIDTHW, 0,
                                                       reinterpret_cast<LPARAM>(WideText(title))));
        EXPECT_LE(text + 2 * margin, width) << ColumnTitle(listView, i) << " is cut";
    }
}

TEST(SystemDpi, PixelFiguresAreScaledByIt)
{
    ScratchDirectory dir;
    WriteDatabase(kCatalogueFile, SampleCatalogueSql());
    UiHarness ui;
    RunningTomebox app;
    // The DPI the program read from the screen is the one the run was given.
    const char* announced = std::getenv("TOMEBOX_TEST_DPI");
    const int dpi = g_globals.systemDpi;
    ASSERT_EQ(announced ? std::atoi(announced) : 96, dpi);
    const PixelFigures* figures =
        std::find_if(std::begin(kPixelFigures), std::end(kPixelFigures), [&](const PixelFigures& f) { return f.dpi == dpi; });
    ASSERT_NE(std::end(kPixelFigures), figures);
    ExpectColumns(app.catalogueView(), figures->columnWidths);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU) + figures->bandBelowMenu, RectIn(g_globals.listPane, app.mainWindow()).top);
    ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
        SetText(conditions, IDC_YEAR, "1905");
        ui.WhenDialogOpens("検索結果", [&](HWND results) {
            HWND list = GetDlgItem(results, IDC_BOOK_LIST);
            ExpectColumns(list, figures->columnWidths);
            const int top = RectIn(list, results).top;
            EXPECT_EQ(figures->resultsListTop, top);
            // The buttons and the count, grown with the font, keep clear of it.
            EXPECT_LT(RectIn(GetDlgItem(results, IDC_EDIT_BOOK), results).bottom, top);
            EXPECT_LT(RectIn(GetDlgItem(results, IDC_BOOK_COUNT), results).bottom, top);
            EXPECT_EQ("1 冊", GetText(results, IDC_BOOK_COUNT));
            Press(results, IDCANCEL);
        });
        Press(conditions, IDOK);
    });
    Press(app.commandBar(), IDC_SEARCH);
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());
    EXPECT_EQ(0, app.Exit());
}

TEST(MainWindow, ResizingKeepsThePaneBetweenTheCommandBandAndTheStatusBar)
{
    ScratchDirectory dir;
    WriteDatabase(kCatalogueFile, SampleCatalogueSql());
    UiHarness ui;
    RunningTomebox app;
    HWND main = app.mainWindow();
    HWND bar = app.commandBar();
    const RECT barBefore = RectIn(bar, main);
    const int band = GetSystemMetrics(SM_CYMENU) + 10;
    // The last is lower than the band: the system gives the pane no height.
    const SIZE sizes[] = {{800, 600}, {640, 300}, {1200, 900}, {420, 200}, {420, 60}};
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        SetWindowPos(main, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(main, &client);
        const int width = client.right, height = client.bottom;
        // The status bar at the foot, as wide as the window; the pane
        // between the band and the bar.
        const RECT status = RectIn(g_globals.statusBar, main);
        EXPECT_EQ(0, status.left);
        EXPECT_EQ(width, status.right);
        EXPECT_EQ(height, status.bottom);
        const int barHeight = status.bottom - status.top;
        EXPECT_GT(barHeight, 0);
        const RECT pane = RectIn(g_globals.listPane, main);
        EXPECT_EQ(0, pane.left);
        EXPECT_EQ(band, pane.top);
        EXPECT_EQ(width, pane.right - pane.left);
        EXPECT_EQ(std::max(0, height - band - barHeight), pane.bottom - pane.top) << height;
        const RECT view = RectIn(app.catalogueView(), g_globals.listPane);
        EXPECT_EQ(0, view.left);
        EXPECT_EQ(0, view.top);
        EXPECT_EQ(width, view.right - view.left);
        EXPECT_EQ(std::max(0, height - band - barHeight), view.bottom - view.top);
        const RECT barNow = RectIn(bar, main);
        EXPECT_TRUE(EqualRect(&barBefore, &barNow));
    }
    EXPECT_EQ(5, RowCount(app.catalogueView()));
    EXPECT_EQ(0, app.Exit());
}

TEST(MainWindow, EveryWayOfClosingClosesTheDatabaseAndEndsWithZero)
{
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        int books;  // beyond the sample's five
    } ways[] = {
        {"menu exit", WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0},
        {"exit by accelerator-style notification", WM_COMMAND, MAKEWPARAM(IDM_EXIT, 1), 0},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, 0},
        {"WM_CLOSE", WM_CLOSE, 0, 0},
        // Rows left to the end of the process.
        {"menu exit, more rows than are freed at once", WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), kRowsFreedQuickly},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ScratchDirectory dir;
        WriteDatabase(kCatalogueFile, SampleCatalogueSql() + ManyBooksSql(way.books));
        UiHarness ui;
        RunningTomebox app;
        ASSERT_EQ(5 + way.books, RowCount(app.catalogueView()));
        if (kDescriptorsCounted) ASSERT_LT(0, OpenDescriptorsOn(kCatalogueFile));
        HWND view = app.catalogueView();
        PostMessageA(app.mainWindow(), way.message, way.wParam, 0);
        EXPECT_EQ(0, app.RunLoop());
        EXPECT_FALSE(IsWindow(app.mainWindow()));
        EXPECT_FALSE(IsWindowVisible(view));
        EXPECT_FALSE(g_globals.catalogue.db);
        EXPECT_EQ(0, OpenDescriptorsOn(kCatalogueFile));
        EXPECT_TRUE(ui.Boxes().empty());
    }
}

TEST(MainWindow, FailingCloseIsReportedAndStillEndsTheLoop)
{
    ScratchDirectory dir;
    WriteDatabase(kCatalogueFile, SampleCatalogueSql());
    UiHarness ui;
    RunningTomebox app;
    // An unfinalized statement makes sqlite3_close refuse.
    sqlite3_stmt* pending = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(g_globals.catalogue.db.get(), "SELECT * FROM Tomebox", -1, &pending, nullptr));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ(std::vector<ShownBox>{ErrorBox("データベースのクローズに失敗しました", app.mainWindow())}, ui.Boxes());
    sqlite3_finalize(pending);
}

// Alt+? and Alt+/ reach the about box only through a message addressed to
// the main window itself; addressed to the list view they do nothing.
TEST(MainWindow, AcceleratorsOpenTheAboutBoxOnlyForTheMainWindow)
{
    const struct {
        char key;
        bool toMainWindow;
    } cases[] = {{'?', true}, {'/', true}, {'?', false}, {'/', false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("Alt+") + c.key + (c.toMainWindow ? " to the main window" : " to the list view"));
        ScratchDirectory dir;
        UiHarness ui;
        RunningTomebox app;
        HWND main = app.mainWindow();
        std::string aboutText;
        if (c.toMainWindow) {
            ui.WhenDialogOpens("バージョン情報", [&](HWND about) {
                aboutText = GetText(about, IDC_STATIC);
                Press(about, IDOK);
                EXPECT_FALSE(IsWindowVisible(about));
                PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
            });
        }

        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE altDown[256];
        std::copy(keys, keys + 256, altDown);
        altDown[VK_MENU] = altDown[VK_LMENU] = 0x80;
        SetKeyboardState(altDown);
        HWND target = c.toMainWindow ? main : app.catalogueView();
        PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(c.key), 0x20000001);
        if (!c.toMainWindow) PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
        const int exitCode = app.RunLoop();
        SetKeyboardState(keys);

        EXPECT_EQ(0, exitCode);
        EXPECT_EQ(0u, ui.PendingDialogSteps());
        EXPECT_TRUE(ui.UnexpectedDialogs().empty());
        EXPECT_EQ(c.toMainWindow ? "Tomebox, Version 0.11c" : "", aboutText);
        EXPECT_TRUE(ui.Boxes().empty());
    }
}

TEST(AboutBox, OkEscapeAndCloseBoxEndIt)
{
    const struct {
        const char* name;
        std::function<void(HWND)> end;
    } ways[] = {
        {"OK", [](HWND about) { Press(about, IDOK); }},
        {"Escape", [](HWND about) { Press(about, IDCANCEL); }},
        {"close box", [](HWND about) { SendMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ScratchDirectory dir;
        UiHarness ui;
        RunningTomebox app;
        HWND shown = nullptr;
        ui.WhenDialogOpens("バージョン情報", [&](HWND about) {
            shown = about;
            EXPECT_EQ(app.mainWindow(), GetWindow(about, GW_OWNER));
            way.end(about);
        });
        // Returns once the about box has ended (a box left open would stall
        // here until the watchdog).
        SendMessageA(app.mainWindow(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
        EXPECT_TRUE(shown);
        EXPECT_FALSE(IsWindow(shown));
        EXPECT_EQ(0u, ui.PendingDialogSteps());
        EXPECT_EQ(0, app.Exit());
    }
}

}  // namespace
