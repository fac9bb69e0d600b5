#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <string>
#include <vector>
#include "dialogs/Globals.h"
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "support/Catalogues.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "support/UiHarness.h"

namespace {

const char* const kDb = kCatalogueFile;

// Five books, in the table as UTF-8 (version 1); two of them from 2014.
void WriteCatalogue(const std::string& extraSql = "")
{
    WriteDatabase(kDb, CatalogueSql(
        u8"INSERT INTO Tomebox VALUES ('吾輩は猫である', 'ワガハイハネコデアル', '夏目漱石', NULL, 1905, 10, "
        u8"'大倉書店', NULL, '書斎', NULL, '9784000000001', 0);"
        "INSERT INTO Tomebox VALUES ('cat', NULL, 'Ann', NULL, 2014, 1, 'P', NULL, 'A', NULL, NULL, 1);"
        "INSERT INTO Tomebox VALUES ('O''Brien', NULL, 'Zoë 我们 김영하', NULL, 2013, 2, NULL, NULL, NULL, NULL, NULL, 2);"
        "INSERT INTO Tomebox VALUES ('cut', NULL, 'Bob', NULL, 2014, 3, 'Q', NULL, 'B', NULL, NULL, 3);"
        u8"INSERT INTO Tomebox VALUES ('coat', NULL, NULL, NULL, 0, 0, '表現社', NULL, NULL, NULL, NULL, 4);")
        + extraSql);
}

std::vector<int32_t> ItemData(HWND listView)
{
    std::vector<int32_t> ids;
    for (int row = 0; row < RowCount(listView); ++row) ids.push_back(RowItemData(listView, row));
    return ids;
}

std::vector<int32_t> Ids(const BookList& books)
{
    std::vector<int32_t> ids;
    for (const BookPtr& book : books) ids.push_back(book->GetID());
    return ids;
}

// Each book's place, by ID.
std::vector<std::string> Places()
{
    return QueryDatabase(kDb, "SELECT ID, Place FROM Tomebox ORDER BY ID");
}

HWND ResultsView(HWND results)
{
    return GetDlgItem(results, IDC_BOOK_LIST);
}

// Rectangle of a control in its dialog's client coordinates.
RECT ClientRectOf(HWND dialog, int controlId)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, controlId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Cancels a dialog still showing when a step ends, also after a failed
// assertion, so that no modal loop is left waiting.
class CancelOnExit {
public:
    explicit CancelOnExit(HWND dialog) : dialog_(dialog) {}
    ~CancelOnExit()
    {
        if (IsWindowVisible(dialog_)) Press(dialog_, IDCANCEL);
    }

private:
    HWND dialog_;
};

class SearchWindows : public ::testing::Test {
protected:
    // Searches for the year 2014 (IDs 1 and 3) and runs the step in the
    // results window.
    void SearchYear2014(std::function<void(HWND results)> inResults)
    {
        ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
            CancelOnExit cancel(conditions);
            SetText(conditions, IDC_YEAR, "2014");
            ui.WhenDialogOpens("検索結果", [&](HWND results) {
                CancelOnExit close(results);
                inResults(results);
            });
            Press(conditions, IDOK);
        });
        Press(app->commandBar(), IDC_SEARCH);
        EXPECT_EQ(0u, ui.PendingDialogSteps());
        EXPECT_TRUE(ui.UnexpectedDialogs().empty());
    }

    void Start(const std::string& extraSql = "")
    {
        WriteCatalogue(extraSql);
        app = std::make_unique<RunningTomebox>();
        ASSERT_EQ(5, RowCount(app->catalogueView()));
    }

    ScratchDirectory dir;
    UiHarness ui;
    std::unique_ptr<RunningTomebox> app;
};

TEST_F(SearchWindows, TextsThatMakeNoStatementKeepTheDialogOpen)
{
    Start();
    bool stepRan = false;
    ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
        const std::pair<int, const char*> inputs[] = {
            {IDC_BOOK_NAME, ""},  // nothing given
            {IDC_YEAR, "abc"}, {IDC_YEAR, "2014 OR 1=1"}, {IDC_YEAR, "２０１４"}, {IDC_MONTH, "1; DROP TABLE Tomebox"},
        };
        for (const auto& [control, text] : inputs) {
            SetText(conditions, control, text);
            Press(conditions, IDOK);
            EXPECT_TRUE(IsWindowVisible(conditions)) << text;
            SetText(conditions, control, "");
        }
        Press(conditions, IDC_ISBN_SEARCH);
        EXPECT_TRUE(IsWindowVisible(conditions));
        stepRan = true;
        Press(conditions, IDCANCEL);
    });
    Press(app->commandBar(), IDC_SEARCH);
    EXPECT_TRUE(stepRan);
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());  // no results window opened
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(5u, QueryDatabase(kDb, "SELECT ID FROM Tomebox").size());
}

TEST_F(SearchWindows, FoundRecordsAreListedAndShared)
{
    Start();
    struct Case {
        int control;
        const char* text;
        std::vector<int32_t> ids;
    } cases[] = {
        {IDC_BOOK_NAME, "猫", {0}},
        {IDC_AUTHOR, "漱石", {0}},
        {IDC_BOOK_NAME, "O'B", {2}},
        {IDC_BOOK_NAME, "c_t", {1, 3}},
        {IDC_BOOK_NAME, "CAT", {1}},  // ASCII letters match in either case
        {IDC_YEAR, "0", {4}},
        {IDC_YEAR, " 2014", {1, 3}},
        {IDC_PLACE, "書斎", {0}},
        {IDC_PUBLISHER, "表", {4}},
        {IDC_AUTHOR, "Zoë", {2}},
        {IDC_AUTHOR, "我们", {2}},
        {IDC_AUTHOR, "김", {2}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> shown;
        BookList records;
        ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
            SetText(conditions, c.control, c.text);
            ui.WhenDialogOpens("検索結果", [&](HWND results) {
                shown = ItemData(ResultsView(results));
                records = g_globals.resultsViews.at(0)->Records();
                if (!shown.empty() && shown[0] == 0)
                    EXPECT_EQ((std::vector<std::string>{"吾輩は猫である", "夏目漱石", "書斎", "1905", "10", "大倉書店",
                                                        "9784000000001"}),
                              RowTexts(ResultsView(results), 0));
                Press(results, IDCANCEL);
            });
            Press(conditions, IDOK);
        });
        Press(app->commandBar(), IDC_SEARCH);
        EXPECT_EQ(c.ids, shown) << c.text;
        EXPECT_EQ(c.ids, Ids(records)) << c.text;
        for (const BookPtr& hit : records) {
            bool shared = false;
            for (const BookPtr& book : g_globals.catalogue.books) shared = shared || book.get() == hit.get();
            EXPECT_TRUE(shared) << c.text;
        }
    }
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());
}

TEST_F(SearchWindows, NoHitsOpenAnEmptyResultsWindowWithTheMainWindowUsable)
{
    Start();
    bool stepRan = false;
    ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
        SetText(conditions, IDC_BOOK_NAME, "dog");
        ui.WhenDialogOpens("検索結果", [&](HWND results) {
            HWND view = ResultsView(results);
            EXPECT_EQ(0, RowCount(view));
            HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
            EXPECT_EQ(7, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
            EXPECT_EQ(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
            EXPECT_TRUE(GetWindowLongA(results, GWL_STYLE) & WS_THICKFRAME);
            EXPECT_TRUE(GetWindowLongA(results, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
            EXPECT_EQ("0 冊", GetText(results, IDC_BOOK_COUNT));
            EXPECT_FALSE(IsWindowVisible(conditions));
            EXPECT_TRUE(IsWindowEnabled(app->mainWindow()));
            Press(results, IDC_EDIT_BOOK);
            Press(results, IDC_DELETE_BOOK);
            Press(results, IDOK);  // the Enter key
            EXPECT_TRUE(IsWindowVisible(results));
            stepRan = true;
            Press(results, IDCANCEL);
        });
        Press(conditions, IDOK);
    });
    Press(app->commandBar(), IDC_SEARCH);
    EXPECT_TRUE(stepRan);
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());
}

TEST_F(SearchWindows, ResizingKeepsTheListBelowTheButtonBand)
{
    Start();
    SearchYear2014([&](HWND results) {
        RECT editBefore = ClientRectOf(results, IDC_EDIT_BOOK);
        RECT deleteBefore = ClientRectOf(results, IDC_DELETE_BOOK);
        for (SIZE size : {SIZE{0, 0}, SIZE{700, 500}, SIZE{300, 200}}) {
            if (size.cx) SetWindowPos(results, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            RECT client;
            GetClientRect(results, &client);
            RECT list = ClientRectOf(results, IDC_BOOK_LIST);
            EXPECT_EQ(0, list.left);
            EXPECT_EQ(30, list.top);
            EXPECT_EQ(client.right, list.right);
            EXPECT_EQ(client.bottom, list.bottom);
            RECT editAfter = ClientRectOf(results, IDC_EDIT_BOOK);
            RECT deleteAfter = ClientRectOf(results, IDC_DELETE_BOOK);
            EXPECT_TRUE(EqualRect(&editBefore, &editAfter));
            EXPECT_TRUE(EqualRect(&deleteBefore, &deleteAfter));
        }
    });
}

TEST_F(SearchWindows, DeleteAnsweredYesRemovesTheRecordEverywhere)
{
    Start();
    SearchYear2014([&](HWND results) {
        SelectRow(ResultsView(results), 0);  // ID 1, catalogue row 1
        ui.QueueAnswer(IDYES);
        Press(results, IDC_DELETE_BOOK);
        EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(results)}, ui.Boxes());
        EXPECT_EQ((std::vector<int32_t>{3}), ItemData(ResultsView(results)));
        EXPECT_EQ("cut", CellText(ResultsView(results), 0, 0));
        EXPECT_EQ("1 冊", GetText(results, IDC_BOOK_COUNT));
    });
    EXPECT_EQ((std::vector<int32_t>{0, 2, 3, 4}), ItemData(app->catalogueView()));
    EXPECT_EQ("O'Brien", CellText(app->catalogueView(), 1, 0));
    EXPECT_EQ((std::vector<int32_t>{0, 2, 3, 4}), Ids(g_globals.catalogue.books));
    EXPECT_EQ((std::vector<std::string>{"0", "2", "3", "4"}), QueryDatabase(kDb, "SELECT ID FROM Tomebox ORDER BY ID"));
}

TEST_F(SearchWindows, DeleteAnsweredNoOrWithoutSelectionChangesNothing)
{
    Start();
    SearchYear2014([&](HWND results) {
        Press(results, IDC_DELETE_BOOK);  // nothing selected: no question
        EXPECT_TRUE(ui.Boxes().empty());
        SelectRow(ResultsView(results), 1);
        Press(results, IDC_DELETE_BOOK);  // answered No
        EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(results)}, ui.Boxes());
        EXPECT_EQ((std::vector<int32_t>{1, 3}), ItemData(ResultsView(results)));
    });
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4}), ItemData(app->catalogueView()));
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4}), Ids(g_globals.catalogue.books));
    EXPECT_EQ(5u, QueryDatabase(kDb, "SELECT ID FROM Tomebox").size());
}

// A DELETE the database refuses: a trigger that aborts, or another
// connection holding an exclusive lock.
TEST_F(SearchWindows, RefusedDeleteShowsTheErrorAndChangesNothing)
{
    for (bool exclusiveLock : {false, true}) {
        SCOPED_TRACE(exclusiveLock ? "exclusive lock" : "trigger");
        app.reset();
        DeleteFileA(kDb);
        ui.ClearBoxes();
        Start(exclusiveLock ? "" : "CREATE TRIGGER NoDelete BEFORE DELETE ON Tomebox BEGIN SELECT RAISE(ABORT, 'kept'); END;");
        sqlite3* other = nullptr;
        SearchYear2014([&](HWND results) {
            if (exclusiveLock) {
                ASSERT_EQ(SQLITE_OK, sqlite3_open(kDb, &other));
                ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
                // A lock held for good: no need to wait it out for long.
                sqlite3_busy_timeout(g_globals.catalogue.db.get(), 100);
            }
            SelectRow(ResultsView(results), 1);
            ui.QueueAnswer(IDYES);
            Press(results, IDC_DELETE_BOOK);
            EXPECT_EQ((std::vector<ShownBox>{DeleteQuestion(results), ErrorBox("SQLデータの削除に失敗しました", results)}),
                      ui.Boxes());
            EXPECT_EQ((std::vector<int32_t>{1, 3}), ItemData(ResultsView(results)));
        });
        sqlite3_close(other);
        EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4}), ItemData(app->catalogueView()));
        EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4}), Ids(g_globals.catalogue.books));
        EXPECT_EQ(5u, QueryDatabase(kDb, "SELECT ID FROM Tomebox").size());
    }
}

TEST_F(SearchWindows, EditFromTheResultsRewritesBothViewsAndTheSharedRecord)
{
    Start();
    const BookData* record = g_globals.catalogue.books[3].get();  // ID 3, results row 1
    SearchYear2014([&](HWND results) {
        Press(results, IDC_EDIT_BOOK);  // nothing selected: no form
        SelectRow(ResultsView(results), 1);
        ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            CancelOnExit cancel(form);
            EXPECT_EQ("cut", GetText(form, IDC_BOOK_NAME));
            SetText(form, IDC_BOOK_NAME, "表紙");
            SetText(form, IDC_PLACE, "棚");
            Press(form, IDOK);
        });
        Press(results, IDC_EDIT_BOOK);
        EXPECT_EQ(record, g_globals.resultsViews.at(0)->Records().at(1).get());
        EXPECT_EQ((std::vector<std::string>{"表紙", "Bob", "棚", "2014", "3", "Q", ""}), RowTexts(ResultsView(results), 1));
        EXPECT_EQ("cat", CellText(ResultsView(results), 0, 0));
    });
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ((std::vector<std::string>{"表紙", "Bob", "棚", "2014", "3", "Q", ""}), RowTexts(app->catalogueView(), 3));
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4}), ItemData(app->catalogueView()));
    EXPECT_EQ(record, g_globals.catalogue.books[3].get());
    EXPECT_EQ("表紙", record->GetBookName());
    EXPECT_EQ((std::vector<std::string>{u8"表紙|棚"}), QueryDatabase(kDb, "SELECT BookName, Place FROM Tomebox WHERE ID = 3"));
}

// A window holding more hits than are freed at once goes as soon as it is
// closed, its rows released while the main window stays usable; the modal
// call ends afterwards, and closing changes nothing else.
TEST_F(SearchWindows, ClosingManyHitsHidesTheWindowAtOnce)
{
    const int many = kRowsFreedQuickly + 1;
    WriteCatalogue(ManyBooksSql(many));
    app = std::make_unique<RunningTomebox>();
    ASSERT_EQ(5 + many, RowCount(app->catalogueView()));
    HWND closed = nullptr;
    SearchYear2014([&](HWND results) {
        closed = results;
        ASSERT_EQ(2 + many, RowCount(ResultsView(results)));
        Press(results, IDCANCEL);
        EXPECT_FALSE(IsWindowVisible(results));
        EXPECT_EQ(app->mainWindow(), GetActiveWindow());
        EXPECT_TRUE(IsWindowEnabled(app->mainWindow()));
    });
    EXPECT_FALSE(IsWindow(closed));
    EXPECT_EQ(5 + many, RowCount(app->catalogueView()));
    EXPECT_TRUE(ui.Boxes().empty());
}

// The main window stays usable while results are open, and a results
// window keeps its own books whatever searches run there meanwhile: one
// refused and cancelled, and one whose window is closed again.
TEST_F(SearchWindows, AResultsWindowKeepsItsBooksThroughLaterSearches)
{
    Start();
    SearchYear2014([&](HWND firstResults) {
        ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
            CancelOnExit cancel(conditions);
            SetText(conditions, IDC_YEAR, "abc");
            Press(conditions, IDOK);
        });
        ASSERT_TRUE(IsWindowEnabled(app->mainWindow()));
        Press(app->commandBar(), IDC_SEARCH);
        ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
            CancelOnExit cancel(conditions);
            SetText(conditions, IDC_BOOK_NAME, "cut");
            ui.WhenDialogOpens("検索結果", [&](HWND secondResults) {
                CancelOnExit close(secondResults);
                EXPECT_EQ((std::vector<int32_t>{3}), ItemData(ResultsView(secondResults)));
            });
            Press(conditions, IDOK);
        });
        Press(app->commandBar(), IDC_SEARCH);
        EXPECT_EQ((std::vector<int32_t>{1, 3}), ItemData(ResultsView(firstResults)));

        // ID 1 is no longer a hit, but still this window's book.
        SelectRow(ResultsView(firstResults), 0);
        ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            CancelOnExit cancel(form);
            EXPECT_EQ("cat", GetText(form, IDC_BOOK_NAME));
            SetText(form, IDC_BOOK_NAME, "cats");
            Press(form, IDOK);
        });
        Press(firstResults, IDC_EDIT_BOOK);
        EXPECT_EQ("cats", CellText(ResultsView(firstResults), 0, 0));
        ui.QueueAnswer(IDYES);
        Press(firstResults, IDC_DELETE_BOOK);
        EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(firstResults)}, ui.Boxes());
        EXPECT_EQ((std::vector<int32_t>{3}), ItemData(ResultsView(firstResults)));
        EXPECT_EQ((std::vector<int32_t>{3}), Ids(g_globals.resultsViews.at(0)->Records()));
    });
    EXPECT_EQ((std::vector<int32_t>{0, 2, 3, 4}), ItemData(app->catalogueView()));
    EXPECT_EQ((std::vector<std::string>{"0", "2", "3", "4"}), QueryDatabase(kDb, "SELECT ID FROM Tomebox ORDER BY ID"));
}

// A book whose ID is beyond 32 bits, beside the book with ID 3 (its lower
// 32 bits): its row edits only it.
TEST_F(SearchWindows, AnIdBeyond32BitsNamesOnlyItsOwnBook)
{
    WriteCatalogue("INSERT INTO Tomebox (BookName, Year, Month, ID) VALUES ('beyond', 2014, 5, 4294967299);");
    app = std::make_unique<RunningTomebox>();
    SearchYear2014([&](HWND results) {
        ASSERT_EQ(3, RowCount(ResultsView(results)));
        SelectRow(ResultsView(results), 2);
        ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            CancelOnExit cancel(form);
            EXPECT_EQ("beyond", GetText(form, IDC_BOOK_NAME));
            SetText(form, IDC_PLACE, "棚");
            Press(form, IDOK);
        });
        Press(results, IDC_EDIT_BOOK);
        EXPECT_EQ((std::vector<std::string>{"cut", "Bob", "B", "2014", "3", "Q", ""}), RowTexts(ResultsView(results), 1));
    });
    EXPECT_EQ("B", CellText(app->catalogueView(), 3, 2));
    EXPECT_EQ((std::vector<std::string>{"0|書斎", "1|A", "2|NULL", "3|B", "4|NULL", "4294967299|棚"}), Places());
}

// While a form or a question of one window is open, the other window's
// commands run.  Each command acts on the book it started on: IDs 0 to 4,
// the results of 2014 showing IDs 1 and 3.
TEST_F(SearchWindows, AFormChangesTheBookItOpenedOn)
{
    Start();
    SearchYear2014([&](HWND results) {
        // The results' form on ID 1; meanwhile the main window opens the
        // form on ID 4 and a new one, cancels both, and searches again
        // (another results window, the same hits).
        SelectRow(ResultsView(results), 0);
        ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            CancelOnExit cancel(form);
            SelectRow(app->catalogueView(), 4);
            for (int button : {IDC_EDIT_BOOK, IDC_NEW_BOOK}) {
                ui.WhenDialogOpens("書籍情報", [](HWND other) { Press(other, IDCANCEL); });
                Press(app->commandBar(), button);
            }
            ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
                SetText(conditions, IDC_YEAR, "2014");
                ui.WhenDialogOpens("検索結果", [](HWND second) { Press(second, IDCANCEL); });
                Press(conditions, IDOK);
            });
            Press(app->commandBar(), IDC_SEARCH);
            SetText(form, IDC_PLACE, "棚");
            Press(form, IDOK);
        });
        Press(results, IDC_EDIT_BOOK);
        EXPECT_EQ((std::vector<std::string>{"cat", "Ann", "棚", "2014", "1", "P", ""}), RowTexts(ResultsView(results), 0));

        // The main window's form on ID 0; meanwhile the results window opens
        // the form on ID 3, cancels it, and deletes ID 1.
        SelectRow(app->catalogueView(), 0);
        ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            CancelOnExit cancel(form);
            SelectRow(ResultsView(results), 1);
            ui.WhenDialogOpens("書籍情報", [](HWND other) { Press(other, IDCANCEL); });
            Press(results, IDC_EDIT_BOOK);
            SelectRow(ResultsView(results), 0);
            ui.QueueAnswer(IDYES);
            Press(results, IDC_DELETE_BOOK);
            SetText(form, IDC_PLACE, "床");
            Press(form, IDOK);
        });
        Press(app->commandBar(), IDC_EDIT_BOOK);
        EXPECT_EQ((std::vector<int32_t>{3}), ItemData(ResultsView(results)));
    });
    EXPECT_EQ(1u, ui.Boxes().size());  // the question about ID 1
    EXPECT_EQ((std::vector<int32_t>{0, 2, 3, 4}), ItemData(app->catalogueView()));
    EXPECT_EQ("床", CellText(app->catalogueView(), 0, 2));
    EXPECT_EQ((std::vector<std::string>{"0|床", "2|NULL", "3|B", "4|NULL"}), Places());
}

TEST_F(SearchWindows, ADeleteRemovesTheBookItAskedAbout)
{
    Start();
    SearchYear2014([&](HWND results) {
        // The main window asks about ID 0; meanwhile the results window
        // deletes ID 1.  Then the results window asks about ID 3; meanwhile
        // the main window deletes ID 2.  Each first selected row is row 0.
        const std::pair<HWND, HWND> turns[] = {{app->commandBar(), results}, {results, app->commandBar()}};
        auto viewOf = [&](HWND window) { return window == results ? ResultsView(results) : app->catalogueView(); };
        for (const auto& [asker, other] : turns) {
            SelectRow(viewOf(asker), 0);
            ui.WhenDialogOpens("確認", [&, other = other](HWND question) {
                SelectRow(viewOf(other), 0);
                ui.QueueAnswer(IDYES);
                Press(other, IDC_DELETE_BOOK);
                Press(question, IDYES);
            });
            Press(asker, IDC_DELETE_BOOK);
        }
        EXPECT_TRUE(ItemData(ResultsView(results)).empty());
    });
    EXPECT_EQ(2u, ui.Boxes().size());  // the other window's questions
    EXPECT_EQ((std::vector<int32_t>{4}), ItemData(app->catalogueView()));
    EXPECT_EQ((std::vector<std::string>{"4|NULL"}), Places());
}

// The book a form or a question is about is deleted meanwhile from the
// other window: the form saves nothing; the delete is done already, and
// says nothing.
TEST_F(SearchWindows, ACommandWhoseBookIsGoneChangesNothingElse)
{
    Start();
    SearchYear2014([&](HWND results) {
        SelectRow(app->catalogueView(), 3);
        ui.WhenDialogOpens("書籍情報", [&](HWND form) {
            CancelOnExit cancel(form);
            SelectRow(ResultsView(results), 1);
            ui.QueueAnswer(IDYES);
            Press(results, IDC_DELETE_BOOK);
            SetText(form, IDC_PLACE, "棚");
            Press(form, IDOK);
            EXPECT_EQ(ErrorBox("編集中書籍情報が見つかりません", form), ui.Boxes().back());
        });
        Press(app->commandBar(), IDC_EDIT_BOOK);

        SelectRow(app->catalogueView(), 1);
        ui.WhenDialogOpens("確認", [&](HWND question) {
            SelectRow(ResultsView(results), 0);
            ui.QueueAnswer(IDYES);
            Press(results, IDC_DELETE_BOOK);
            Press(question, IDYES);
        });
        ui.ClearBoxes();
        Press(app->commandBar(), IDC_DELETE_BOOK);
        // The results window's question, and no error.
        EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(results)}, ui.Boxes());
    });
    EXPECT_EQ((std::vector<int32_t>{0, 2, 4}), ItemData(app->catalogueView()));
    EXPECT_EQ((std::vector<std::string>{"0|書斎", "2|NULL", "4|NULL"}), Places());
}

// A results window sorts on its own; its buttons, a double-click, Enter
// and the Delete key act on the book of the row chosen; its count and the
// main window's follow a delete.
TEST_F(SearchWindows, SortedResultsActOnTheChosenRowsBook)
{
    Start();
    SearchYear2014([&](HWND results) {
        HWND view = ResultsView(results);
        EXPECT_EQ("2 冊", GetText(results, IDC_BOOK_COUNT));
        ClickColumnHeader(view, kTitleColumn);
        ClickColumnHeader(view, kTitleColumn);
        EXPECT_EQ((std::vector<int64_t>{3, 1}), RowIds(view));  // cut, cat
        EXPECT_EQ((std::vector<int64_t>{0, 1, 2, 3, 4}), RowIds(app->catalogueView()));
        EXPECT_EQ(0, SortMark(app->catalogueView(), kTitleColumn));

        std::vector<std::string> opened;
        auto openedOn = [&](HWND form) {
            opened.push_back(GetText(form, IDC_BOOK_NAME));
            Press(form, IDCANCEL);
        };
        ui.WhenDialogOpens("書籍情報", openedOn);
        DoubleClickRow(view, 0);
        ui.WhenDialogOpens("書籍情報", openedOn);
        SelectRow(view, 1);
        PressKey(view, VK_RETURN, results);
        ui.WhenDialogOpens("書籍情報", openedOn);
        Press(results, IDC_EDIT_BOOK);
        EXPECT_EQ((std::vector<std::string>{"cut", "cat", "cat"}), opened);

        SelectRow(view, 0);
        ui.QueueAnswer(IDYES);
        PressKey(view, VK_DELETE, results);
        EXPECT_EQ(std::vector<ShownBox>{DeleteQuestion(results)}, ui.Boxes());
        EXPECT_EQ((std::vector<int64_t>{1}), RowIds(view));
        EXPECT_EQ("1 冊", GetText(results, IDC_BOOK_COUNT));
    });
    EXPECT_EQ((std::vector<int64_t>{0, 1, 2, 4}), RowIds(app->catalogueView()));
    EXPECT_EQ("4 冊", WindowText(g_globals.statusBar));
}

}  // namespace
