#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include "dialogs/Globals.h"
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

// The book form and the search conditions open over the command bar; any
// that opens here is cancelled by the harness, which is all these need.
void ExpectOnlyDialogs(const UiHarness& ui, const std::string& caption)
{
    for (const std::string& opened : ui.UnexpectedDialogs()) EXPECT_EQ(caption, opened);
}

TEST(CommandBar, NewAndEditSetTheSelectionForTheBookForm)
{
    Fixture f;
    HWND view = f.app.catalogueView();

    g_globals.selectionIndex = 3;
    g_globals.resultsEditFlag = true;
    SelectRow(view, 1);
    Press(f.app.commandBar(), IDC_NEW_BOOK);
    EXPECT_EQ(-1, g_globals.selectionIndex);
    EXPECT_FALSE(g_globals.resultsEditFlag);

    g_globals.resultsEditFlag = true;
    SelectRow(view, 4);  // single selection: row 1 is no longer selected
    Press(f.app.commandBar(), IDC_EDIT_BOOK);
    EXPECT_EQ(4, g_globals.selectionIndex);
    EXPECT_FALSE(g_globals.resultsEditFlag);

    ListView_SetItemState(view, -1, 0, LVIS_SELECTED);
    g_globals.resultsEditFlag = true;
    Press(f.app.commandBar(), IDC_EDIT_BOOK);
    EXPECT_EQ(-1, g_globals.selectionIndex);
    EXPECT_FALSE(g_globals.resultsEditFlag);

    ExpectOnlyDialogs(f.ui, "書籍情報");
    EXPECT_TRUE(f.ui.Boxes().empty());
    EXPECT_EQ(0, f.app.Exit());
}

TEST(CommandBar, SearchLeavesTheSelectionAlone)
{
    Fixture f;
    g_globals.selectionIndex = 3;
    g_globals.resultsEditFlag = true;
    Press(f.app.commandBar(), IDC_SEARCH);
    EXPECT_EQ(3, g_globals.selectionIndex);
    EXPECT_TRUE(g_globals.resultsEditFlag);
    ExpectOnlyDialogs(f.ui, "条件入力");
    EXPECT_EQ(0, f.app.Exit());
}

}  // namespace
