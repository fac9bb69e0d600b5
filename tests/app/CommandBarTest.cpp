#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include "dialogs/Globals.h"
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "support/UiHarness.h"
#include "support/Catalogues.h"

namespace {

std::vector<std::string> SampleRowOf(int id)
{
    for (size_t i = 0; i < kSampleIds.size(); ++i)
        if (kSampleIds[i] == id) return SampleRows()[i];
    return {};
}

std::vector<int> Without(std::vector<int> ids, int gone)
{
    ids.erase(std::find(ids.begin(), ids.end(), gone));
    return ids;
}

std::vector<std::string> TableIds()
{
    return QueryDatabase(kCatalogueFile, "SELECT ID FROM Tomebox ORDER BY ID");
}

std::vector<std::string> AsText(const std::vector<int>& ids)
{
    std::vector<std::string> texts;
    for (int id : ids) texts.push_back(std::to_string(id));
    return texts;
}

// The catalogue list holds the records of these IDs in this order, and row i
// of the view shows entry i with its ID as item data.
void ExpectCatalogueShows(HWND view, const std::vector<int>& ids)
{
    std::vector<int> listed;
    for (const BookPtr& book : g_globals.catalogue.books) listed.push_back(book->GetID());
    EXPECT_EQ(ids, listed);
    ASSERT_EQ(static_cast<int>(ids.size()), RowCount(view));
    for (int row = 0; row < RowCount(view); ++row) {
        const int id = ids[static_cast<size_t>(row)];
        EXPECT_EQ(id, RowItemData(view, row)) << "row " << row;
        EXPECT_EQ(SampleRowOf(id), RowTexts(view, row)) << "row " << row;
    }
}

struct SampleFile {
    explicit SampleFile(const std::string& extraSql)
    {
        WriteDatabase(kCatalogueFile, SampleCatalogueSql() + extraSql);
    }
};

// Declared in this order: the catalogue is written before the program
// starts, and the program ends before the directory goes.
struct Fixture {
    explicit Fixture(const std::string& extraSql = "") : sample(extraSql) {}
    ScratchDirectory dir;
    SampleFile sample;
    UiHarness ui;
    RunningTomebox app;
};

TEST(DeleteCommand, WithoutSelectionAsksNothing)
{
    Fixture f;
    Press(f.app.commandBar(), IDC_DELETE_BOOK);
    EXPECT_TRUE(f.ui.Boxes().empty());
    ExpectCatalogueShows(f.app.catalogueView(), kSampleIds);
    EXPECT_EQ(AsText(kSampleIds), TableIds());
    EXPECT_EQ(0, f.app.Exit());
}

TEST(DeleteCommand, InAnEmptyCatalogueDoesNothing)
{
    ScratchDirectory dir;
    UiHarness ui;
    RunningTomebox app;
    Press(app.commandBar(), IDC_DELETE_BOOK);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(0, app.Exit());
}

TEST(DeleteCommand, AnsweredNoChangesNothing)
{
    Fixture f;
    SelectRow(f.app.catalogueView(), 2);
    Press(f.app.commandBar(), IDC_DELETE_BOOK);
    // Named as owner, the command bar hands the box to its top-level window.
    EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(f.app.mainWindow())}, f.ui.Boxes());
    ExpectCatalogueShows(f.app.catalogueView(), kSampleIds);
    EXPECT_EQ(AsText(kSampleIds), TableIds());
    EXPECT_EQ(0, f.app.Exit());
}

TEST(DeleteCommand, AnsweredYesRemovesTheRecordEverywhere)
{
    for (int row : {0, 2, 4}) {
        SCOPED_TRACE("row " + std::to_string(row));
        Fixture f;
        const int id = kSampleIds[static_cast<size_t>(row)];
        BookPtr record = g_globals.catalogue.books[static_cast<size_t>(row)];
        SelectRow(f.app.catalogueView(), row);
        f.ui.QueueAnswer(IDYES);
        Press(f.app.commandBar(), IDC_DELETE_BOOK);
        ASSERT_EQ(1u, f.ui.Boxes().size());
        const std::vector<int> rest = Without(kSampleIds, id);
        EXPECT_EQ(AsText(rest), TableIds());
        ExpectCatalogueShows(f.app.catalogueView(), rest);
        // The list no longer holds the record.
        EXPECT_EQ(1, record.use_count());
        EXPECT_EQ(0, f.app.Exit());
        EXPECT_EQ(AsText(rest), TableIds());
    }
}

TEST(DeleteCommand, TwoDeletesInARowKeepViewAndListInStep)
{
    Fixture f;
    HWND view = f.app.catalogueView();
    for (int row : {1, 1}) {
        SelectRow(view, row);
        f.ui.QueueAnswer(IDYES);
        Press(f.app.commandBar(), IDC_DELETE_BOOK);
    }
    EXPECT_EQ(2u, f.ui.Boxes().size());
    const std::vector<int> rest = {3, 25, 40};
    EXPECT_EQ(AsText(rest), TableIds());
    ExpectCatalogueShows(view, rest);
    EXPECT_EQ(0, f.app.Exit());
}

TEST(DeleteCommand, RefusedByTheDatabaseChangesNothing)
{
    const struct {
        const char* name;
        std::string extraSql;
        bool lockFromSecondConnection;
    } cases[] = {
        {"trigger raises", "CREATE TRIGGER KeepBooks BEFORE DELETE ON Tomebox BEGIN SELECT RAISE(ABORT, 'kept'); END;",
         false},
        {"another connection holds an exclusive lock", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(c.extraSql);
        sqlite3* other = nullptr;
        if (c.lockFromSecondConnection) {
            ASSERT_EQ(SQLITE_OK, sqlite3_open(kCatalogueFile, &other));
            ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
            // This lock is held for good: the program's wait for it, shortened.
            sqlite3_busy_timeout(g_globals.catalogue.db.get(), 100);
        }
        SelectRow(f.app.catalogueView(), 3);
        f.ui.QueueAnswer(IDYES);
        Press(f.app.commandBar(), IDC_DELETE_BOOK);
        if (other) {
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        }
        EXPECT_EQ((std::vector<ShownBox>{DeleteQuestion(f.app.mainWindow()),
                                         ErrorBox("SQLデータの削除に失敗しました", f.app.mainWindow())}),
                  f.ui.Boxes());
        ExpectCatalogueShows(f.app.catalogueView(), kSampleIds);
        EXPECT_EQ(AsText(kSampleIds), TableIds());
        EXPECT_EQ(0, f.app.Exit());
    }
}

// Another program deleted the book meanwhile: it is gone either way, so
// its row and record go too, without a box.
TEST(DeleteCommand, ABookAlreadyGoneFromTheFileIsRemoved)
{
    Fixture f;
    WriteDatabase(kCatalogueFile, "DELETE FROM Tomebox WHERE ID = 25;");
    SelectRow(f.app.catalogueView(), 3);
    f.ui.QueueAnswer(IDYES);
    Press(f.app.commandBar(), IDC_DELETE_BOOK);
    EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(f.app.mainWindow())}, f.ui.Boxes());
    ExpectCatalogueShows(f.app.catalogueView(), Without(kSampleIds, 25));
    EXPECT_EQ(0, f.app.Exit());
}

// New opens an empty form whatever is selected; edit opens the selected
// row's book, or an empty form when none is.
TEST(CommandBar, NewAndEditOpenTheFormOnTheirBook)
{
    Fixture f;
    HWND view = f.app.catalogueView();
    const struct {
        int button;
        int selectedRow;  // -1: none
        std::string title;
    } cases[] = {
        {IDC_NEW_BOOK, 1, ""},
        {IDC_EDIT_BOOK, 4, "O'Brien の '本'"},
        {IDC_EDIT_BOOK, -1, ""},
    };
    for (const auto& c : cases) {
        ListView_SetItemState(view, -1, 0, LVIS_SELECTED);
        if (c.selectedRow >= 0) SelectRow(view, c.selectedRow);
        std::string shown = "not opened";
        f.ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            shown = GetText(form, IDC_BOOK_NAME);
            Press(form, IDCANCEL);
        });
        Press(f.app.commandBar(), c.button);
        EXPECT_EQ(c.title, shown) << c.button << " " << c.selectedRow;
    }
    EXPECT_TRUE(f.ui.Boxes().empty());
    EXPECT_EQ(0, f.app.Exit());
}


// Header clicks sort the catalogue list view in Japanese order by reading,
// a second click the other way; the status bar counts the books.  The
// commands then act on the book of the row chosen, whatever the order:
// an edit moves its row to its new place, a new book goes to its own,
// each selected.
TEST(CatalogueView, SortedRowsNameTheirOwnBooks)
{
    Fixture f;
    HWND view = f.app.catalogueView();
    EXPECT_EQ("5 冊", WindowText(g_globals.statusBar));
    SelectRow(view, 0);
    ClickColumnHeader(view, kTitleColumn);
    // Latin, then the readings ニホンショキ and ワガハイ..., then a title
    // without one.
    EXPECT_EQ((std::vector<int64_t>{40, 25, 7, 12, 3}), RowIds(view));
    EXPECT_EQ(1, SortMark(view, kTitleColumn));
    EXPECT_EQ(4, ListView_GetNextItem(view, -1, LVNI_SELECTED));  // still ID 3
    ClickColumnHeader(view, kTitleColumn);
    EXPECT_EQ((std::vector<int64_t>{3, 12, 7, 25, 40}), RowIds(view));
    EXPECT_EQ(-1, SortMark(view, kTitleColumn));

    SelectRow(view, 1);
    f.ui.WhenDialogOpens("書籍情報", [&](HWND form) {
        EXPECT_EQ("吾輩は猫である", GetText(form, IDC_BOOK_NAME));
        SetText(form, IDC_BOOK_NAME_KANA, "A");
        Press(form, IDOK);
    });
    Press(f.app.commandBar(), IDC_EDIT_BOOK);
    EXPECT_EQ((std::vector<int64_t>{3, 7, 25, 40, 12}), RowIds(view));
    EXPECT_EQ(4, ListView_GetNextItem(view, -1, LVNI_SELECTED));

    f.ui.WhenDialogOpens("書籍情報", [&](HWND form) {
        SetText(form, IDC_BOOK_NAME, "P");
        Press(form, IDOK);
    });
    Press(f.app.commandBar(), IDC_NEW_BOOK);
    EXPECT_EQ((std::vector<int64_t>{3, 7, 25, 41, 40, 12}), RowIds(view));
    EXPECT_EQ(3, ListView_GetNextItem(view, -1, LVNI_SELECTED));
    EXPECT_EQ("6 冊", WindowText(g_globals.statusBar));

    SelectRow(view, 0);
    f.ui.QueueAnswer(IDYES);
    Press(f.app.commandBar(), IDC_DELETE_BOOK);
    EXPECT_EQ((std::vector<int64_t>{7, 25, 41, 40, 12}), RowIds(view));
    EXPECT_EQ("5 冊", WindowText(g_globals.statusBar));
    EXPECT_EQ((std::vector<std::string>{"7", "12", "25", "40", "41"}), TableIds());
    EXPECT_EQ((std::vector<std::string>{"12|A"}), QueryDatabase(kCatalogueFile, "SELECT ID, BookNameKana FROM Tomebox WHERE ID = 12"));
    EXPECT_EQ(0, f.app.Exit());
}

// A double-click on a row and Enter open the form on that row's book, the
// Delete key asks about it; a double-click beside the rows does nothing.
TEST(CatalogueView, DoubleClickEnterAndDeleteReachTheCommands)
{
    Fixture f;
    HWND view = f.app.catalogueView();
    ClickColumnHeader(view, kYearColumn);  // -660, 1905, 2001; 0 last
    ASSERT_EQ((std::vector<int64_t>{7, 12, 25, 3, 40}), RowIds(view));
    std::vector<std::string> opened;
    auto openedOn = [&](HWND form) {
        opened.push_back(GetText(form, IDC_BOOK_NAME));
        Press(form, IDCANCEL);
    };
    f.ui.WhenDialogOpens("書籍情報", openedOn);
    DoubleClickRow(view, 1);
    f.ui.WhenDialogOpens("書籍情報", openedOn);
    SelectRow(view, 0);
    PressKey(view, VK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"吾輩は猫である", "日本書紀"}), opened);
    SendMessageW(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 400));
    EXPECT_TRUE(f.ui.UnexpectedDialogs().empty());

    SelectRow(view, 3);
    f.ui.QueueAnswer(IDYES);
    PressKey(view, VK_DELETE);
    EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(f.app.mainWindow())}, f.ui.Boxes());
    EXPECT_EQ((std::vector<int64_t>{7, 12, 25, 40}), RowIds(view));
    EXPECT_EQ("4 冊", WindowText(g_globals.statusBar));
    EXPECT_EQ(0, f.app.Exit());
}

}  // namespace
