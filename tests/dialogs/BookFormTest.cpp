// The book form through the real program: identifiers, the title check,
// numbers, refused saves and texts of any script on their way to the file
// and back, under any system code page.
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "dialogs/Globals.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"
#include "support/Catalogues.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "support/UiHarness.h"

namespace {

const char* const kFile = kCatalogueFile;

std::string Repeat(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}
const char kForm[] = "書籍情報";

// Three books, loaded in ID order 2, 5, 9.
const std::string kThreeBooks = CatalogueSql(
    u8"INSERT INTO Tomebox VALUES ('坊っちゃん', NULL, '夏目漱石', NULL, 1906, 4, '春陽堂', NULL, '本棚', NULL, '111', 2);"
    u8"INSERT INTO Tomebox VALUES ('表示ソフト', NULL, NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, NULL, 5);"
    u8"INSERT INTO Tomebox VALUES ('雪国', NULL, '川端康成', NULL, 1937, 6, '創元社', NULL, '居間', NULL, '333', 9);");

const std::vector<std::string> kThreeBooksTable = {
    u8"2|坊っちゃん|夏目漱石|1906|4", u8"5|表示ソフト|NULL|0|0", u8"9|雪国|川端康成|1937|6"};

std::vector<std::string> Table()
{
    return QueryDatabase(kFile, "SELECT ID, BookName, Author, Year, Month FROM Tomebox ORDER BY ID");
}

// Opens the form from a command bar button and runs the step inside it.
void OnForm(UiHarness& ui, RunningTomebox& app, int button, std::function<void(HWND)> step)
{
    ui.WhenDialogOpens(kForm, std::move(step));
    Press(app.commandBar(), button);
    EXPECT_EQ(0u, ui.PendingDialogSteps());
}

// The modal form keeps the main window disabled until EndDialog.  (Steps
// run before the form is first shown, so its visibility tells nothing.)
bool FormIsOpen(const RunningTomebox& app)
{
    return !IsWindowEnabled(app.mainWindow());
}

void AddBook(UiHarness& ui, RunningTomebox& app, const std::string& title)
{
    OnForm(ui, app, IDC_NEW_BOOK, [&](HWND form) {
        SetText(form, IDC_BOOK_NAME, title);
        Press(form, IDOK);
    });
}

TEST(BookFormUi, NewBooksCountOnFromTheLargestIdAndReuseItAfterDelete)
{
    ScratchDirectory dir;
    UiHarness ui;
    RunningTomebox app;
    HWND view = app.catalogueView();

    AddBook(ui, app, "一冊目");
    AddBook(ui, app, "二冊目");
    ASSERT_EQ(2, RowCount(view));
    EXPECT_EQ(0, RowItemData(view, 0));
    EXPECT_EQ(1, RowItemData(view, 1));
    EXPECT_EQ((std::vector<std::string>{"二冊目", "", "", "0", "0", "", ""}), RowTexts(view, 1));

    SelectRow(view, 1);
    ui.QueueAnswer(IDYES);
    Press(app.commandBar(), IDC_DELETE_BOOK);
    ASSERT_EQ(1, RowCount(view));

    AddBook(ui, app, "三冊目");
    ASSERT_EQ(2, RowCount(view));
    EXPECT_EQ(1, RowItemData(view, 1));
    EXPECT_EQ("三冊目", CellText(view, 1, 0));
    ASSERT_EQ(2u, g_globals.catalogue.books.size());
    EXPECT_EQ(1, g_globals.catalogue.books[1]->GetID());
    EXPECT_EQ("三冊目", g_globals.catalogue.books[1]->GetBookName());
    ASSERT_EQ(1u, ui.Boxes().size());
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());

    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{u8"0|一冊目|NULL|0|0", u8"1|三冊目|NULL|0|0"}), Table());
}

TEST(BookFormUi, EmptyTitleKeepsTheFormOpenAndSpacesAreATitle)
{
    ScratchDirectory dir;
    UiHarness ui;
    RunningTomebox app;

    OnForm(ui, app, IDC_NEW_BOOK, [&](HWND form) {
        SetText(form, IDC_AUTHOR, "著者");
        SetText(form, IDC_YEAR, "1999");
        Press(form, IDOK);
        EXPECT_EQ(std::vector<ShownBox>{ErrorBox("書名は必須情報です", form)}, ui.Boxes());
        EXPECT_TRUE(FormIsOpen(app));
        EXPECT_EQ("著者", GetText(form, IDC_AUTHOR));
        EXPECT_EQ("1999", GetText(form, IDC_YEAR));
        EXPECT_EQ(0, RowCount(app.catalogueView()));

        SetText(form, IDC_BOOK_NAME, "   ");
        Press(form, IDOK);
        EXPECT_FALSE(FormIsOpen(app));
    });
    EXPECT_EQ(1u, ui.Boxes().size());
    EXPECT_EQ(1, RowCount(app.catalogueView()));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{u8"0|   |著者|1999|0"}), Table());
}

TEST(BookFormUi, YearAndMonthAreReadAsSignedWholeNumbers)
{
    const struct {
        const char* typed;
        int stored;
    } cases[] = {{"abc", 0}, {"", 0}, {"-5", -5}, {"05", 5}, {"2014", 2014}};
    ScratchDirectory dir;
    UiHarness ui;
    RunningTomebox app;
    for (const auto& c : cases) {
        OnForm(ui, app, IDC_NEW_BOOK, [&](HWND form) {
            SetText(form, IDC_BOOK_NAME, "t");
            SetText(form, IDC_YEAR, c.typed);
            SetText(form, IDC_MONTH, c.typed);
            Press(form, IDOK);
        });
    }
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(0, app.Exit());
    std::vector<std::string> rows = QueryDatabase(kFile, "SELECT Year, Month FROM Tomebox ORDER BY ID");
    ASSERT_EQ(std::size(cases), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string expected = std::to_string(cases[i].stored);
        EXPECT_EQ(expected + "|" + expected, rows[i]) << "typed " << cases[i].typed;
    }
}

TEST(BookFormUi, EditShowsYearZeroAndChangesTheSharedRecordInPlace)
{
    ScratchDirectory dir;
    WriteDatabase(kFile, kThreeBooks);
    UiHarness ui;
    RunningTomebox app;
    HWND view = app.catalogueView();
    ASSERT_EQ(3u, g_globals.catalogue.books.size());
    BookPtr shown = g_globals.catalogue.books[1];

    SelectRow(view, 1);
    OnForm(ui, app, IDC_EDIT_BOOK, [&](HWND form) {
        EXPECT_EQ("表示ソフト", GetText(form, IDC_BOOK_NAME));
        EXPECT_EQ("0", GetText(form, IDC_YEAR));
        EXPECT_EQ("0", GetText(form, IDC_MONTH));
        EXPECT_EQ("", GetText(form, IDC_AUTHOR));
        SetText(form, IDC_AUTHOR, "新しい著者");
        SetText(form, IDC_PUBLISHER, "ソ社");
        Press(form, IDOK);
    });

    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(shown, g_globals.catalogue.books[1]);
    EXPECT_EQ("新しい著者", shown->GetAuthor());
    EXPECT_EQ(0, shown->GetYear());
    EXPECT_EQ(5, shown->GetID());
    ASSERT_EQ(3, RowCount(view));
    EXPECT_EQ(5, RowItemData(view, 1));
    EXPECT_EQ((std::vector<std::string>{"表示ソフト", "新しい著者", "", "0", "0", "ソ社", ""}), RowTexts(view, 1));
    EXPECT_EQ("坊っちゃん", CellText(view, 0, 0));
    EXPECT_EQ("雪国", CellText(view, 2, 0));

    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{u8"2|坊っちゃん|夏目漱石|1906|4", u8"5|表示ソフト|新しい著者|0|0",
                                        u8"9|雪国|川端康成|1937|6"}),
              Table());
    EXPECT_EQ((std::vector<std::string>{u8"ソ社"}), QueryDatabase(kFile, "SELECT Publisher FROM Tomebox WHERE ID = 5"));
}

TEST(BookFormUi, EditWithNoRowSelectedAddsABook)
{
    ScratchDirectory dir;
    WriteDatabase(kFile, kThreeBooks);
    UiHarness ui;
    RunningTomebox app;

    OnForm(ui, app, IDC_EDIT_BOOK, [&](HWND form) {
        for (int box : {IDC_BOOK_NAME, IDC_AUTHOR, IDC_YEAR, IDC_MONTH, IDC_ISBN}) EXPECT_EQ("", GetText(form, box));
        SetText(form, IDC_BOOK_NAME, "追加");
        Press(form, IDOK);
    });
    ASSERT_EQ(4, RowCount(app.catalogueView()));
    EXPECT_EQ(10, RowItemData(app.catalogueView(), 3));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ(u8"10|追加|NULL|0|0", Table().back());
}

TEST(BookFormUi, NoIdentifierLeftRefusesTheAdd)
{
    ScratchDirectory dir;
    WriteDatabase(kFile, CatalogueSql("INSERT INTO Tomebox (BookName, ID) VALUES ('max', 9223372036854775807);"));
    UiHarness ui;
    RunningTomebox app;

    OnForm(ui, app, IDC_NEW_BOOK, [&](HWND form) {
        SetText(form, IDC_BOOK_NAME, "溢れ");
        Press(form, IDOK);
        EXPECT_EQ(std::vector<ShownBox>{ErrorBox("書籍IDが上限に達したため、これ以上追加できません", form)}, ui.Boxes());
        EXPECT_TRUE(FormIsOpen(app));
        Press(form, IDCANCEL);
    });
    EXPECT_EQ(1, RowCount(app.catalogueView()));
    EXPECT_EQ(1u, g_globals.catalogue.books.size());
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{"9223372036854775807|max|NULL|NULL|NULL"}), Table());
}

// A refused statement leaves the table, the catalogue list and the rows as
// they were, with the form still open on what was typed: a trigger that
// aborts, another connection holding the file, or an update of a row that
// another program has deleted meanwhile (which saves nothing).
TEST(BookFormUi, StatementsTheDatabaseRefusesChangeNothing)
{
    const struct {
        const char* name;
        const char* trigger;
        int button;
        const char* meanwhile;
    } cases[] = {
        {"insert", "CREATE TRIGGER refuse BEFORE INSERT ON Tomebox BEGIN SELECT RAISE(ABORT, 'no'); END;", IDC_NEW_BOOK, nullptr},
        {"update", "CREATE TRIGGER refuse BEFORE UPDATE ON Tomebox BEGIN SELECT RAISE(ABORT, 'no'); END;", IDC_EDIT_BOOK, nullptr},
        {"insert while locked", nullptr, IDC_NEW_BOOK, nullptr},
        {"update while locked", nullptr, IDC_EDIT_BOOK, nullptr},
        {"update of a deleted row", "", IDC_EDIT_BOOK, "DELETE FROM Tomebox WHERE ID = 9;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        WriteDatabase(kFile, kThreeBooks + (c.trigger ? c.trigger : ""));
        UiHarness ui;
        RunningTomebox app;
        if (c.meanwhile) WriteDatabase(kFile, c.meanwhile);
        sqlite3* other = nullptr;
        if (!c.trigger) {
            ASSERT_EQ(SQLITE_OK, sqlite3_open(kFile, &other));
            ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
            // This lock is held for good: the program's wait for it, shortened.
            sqlite3_busy_timeout(g_globals.catalogue.db.get(), 100);
        }
        HWND view = app.catalogueView();
        if (c.button == IDC_EDIT_BOOK) SelectRow(view, 2);
        OnForm(ui, app, c.button, [&](HWND form) {
            SetText(form, IDC_BOOK_NAME, "拒否される");
            Press(form, IDOK);
            EXPECT_EQ(std::vector<ShownBox>{ErrorBox("データベースへの追加に失敗しました", form)}, ui.Boxes());
            EXPECT_TRUE(FormIsOpen(app));
            EXPECT_EQ("拒否される", GetText(form, IDC_BOOK_NAME));
            Press(form, IDCANCEL);
        });
        sqlite3_close(other);  // its transaction is rolled back
        ASSERT_EQ(3u, g_globals.catalogue.books.size());
        EXPECT_EQ("雪国", g_globals.catalogue.books[2]->GetBookName());
        ASSERT_EQ(3, RowCount(view));
        EXPECT_EQ("雪国", CellText(view, 2, 0));
        EXPECT_EQ(9, RowItemData(view, 2));
        EXPECT_EQ(0, app.Exit());
        std::vector<std::string> table = kThreeBooksTable;
        if (c.meanwhile) table.pop_back();
        EXPECT_EQ(table, Table());
    }
}

TEST(BookFormUi, RefusedUpdateFromTheSearchResultsChangesNeitherView)
{
    ScratchDirectory dir;
    WriteDatabase(kFile, kThreeBooks + "CREATE TRIGGER refuse BEFORE UPDATE ON Tomebox BEGIN SELECT RAISE(ABORT, 'no'); END;");
    UiHarness ui;
    RunningTomebox app;
    ui.WhenDialogOpens("条件入力", [&](HWND conditions) {
        SetText(conditions, IDC_YEAR, "1937");
        ui.WhenDialogOpens("検索結果", [&](HWND results) {
            HWND resultsView = GetDlgItem(results, IDC_BOOK_LIST);
            ASSERT_EQ(1, RowCount(resultsView));
            SelectRow(resultsView, 0);
            ui.WhenDialogOpens(kForm, [&](HWND form) {
                EXPECT_EQ("雪国", GetText(form, IDC_BOOK_NAME));
                SetText(form, IDC_BOOK_NAME, "拒否される");
                Press(form, IDOK);
                EXPECT_EQ(std::vector<ShownBox>{ErrorBox("データベースへの追加に失敗しました", form)}, ui.Boxes());
                EXPECT_FALSE(IsWindowEnabled(results));
                Press(form, IDCANCEL);
            });
            Press(results, IDC_EDIT_BOOK);
            EXPECT_EQ("雪国", CellText(resultsView, 0, 0));
            Press(results, IDCANCEL);
        });
        Press(conditions, IDOK);
    });
    Press(app.commandBar(), IDC_SEARCH);
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());
    EXPECT_EQ("雪国", g_globals.catalogue.books[2]->GetBookName());
    EXPECT_EQ("雪国", CellText(app.catalogueView(), 2, 0));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ(kThreeBooksTable, Table());
}

// Texts another program wrote, in any script and longer than a box takes:
// changing only the year keeps every other field byte for byte.
TEST(BookFormUi, TextsFromTheFileAreKeptUnlessChanged)
{
    const std::string place = Repeat("棚", 300);
    ScratchDirectory dir;
    // The ISBN holds a NUL: 9 7 8 NUL x.
    WriteDatabase(kFile, CatalogueSql("INSERT INTO Tomebox (BookName, Author, Publisher, Place, PlaceKana, ISBN, Year, ID) "
                                      "VALUES ('" + LongTitleUtf8() + "', 'Zoë Brontë', '我们的故事', '" + place +
                                      "', '김영하', CAST(X'3937380078' AS TEXT), 2001, 1);"));
    const std::string columns = "SELECT BookName, Author, Publisher, Place, PlaceKana, Year FROM Tomebox";
    UiHarness ui;
    RunningTomebox app;
    EXPECT_EQ(LongTitleCell(), CellText(app.catalogueView(), 0, 0));
    EXPECT_EQ("Zoë Brontë", CellText(app.catalogueView(), 0, 1));
    SelectRow(app.catalogueView(), 0);
    OnForm(ui, app, IDC_EDIT_BOOK, [&](HWND form) {
        EXPECT_EQ(LongTitleUtf8(), GetText(form, IDC_BOOK_NAME));
        EXPECT_EQ("我们的故事", GetText(form, IDC_PUBLISHER));
        EXPECT_EQ("김영하", GetText(form, IDC_PLACE_KANA));
        SetText(form, IDC_YEAR, "2002");
        Press(form, IDOK);
    });
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{LongTitleUtf8() + "|Zoë Brontë|我们的故事|" + place + "|김영하|2002"}),
              QueryDatabase(kFile, columns));
    EXPECT_EQ((std::vector<std::string>{"3937380078|text"}), QueryDatabase(kFile, "SELECT hex(ISBN), typeof(ISBN) FROM Tomebox"));
}

struct BoxText {
    int box;
    std::string typed;
    std::string stored;
};

TEST(BookFormUi, TypedTextsInAnyScriptRoundTripThroughTheDatabase)
{
    // 300 characters, cut to the 255 a box's field takes.
    const std::string longTitle = Repeat("表", 300);
    const std::vector<BoxText> boxes = {
        {IDC_BOOK_NAME, longTitle, Repeat("表", 255)},
        {IDC_BOOK_NAME_KANA, "ヒョウジソフト", "ヒョウジソフト"},
        {IDC_AUTHOR, "Zoë Brontë", "Zoë Brontë"},
        {IDC_AUTHOR_KANA, "ノト'ジュウベエ", "ノト'ジュウベエ"},
        {IDC_PUBLISHER, "予定表社\\", "予定表社\\"},
        {IDC_PUBLISHER_KANA, "ﾖﾃｲﾋｮｳｼｬ", "ﾖﾃｲﾋｮｳｼｬ"},
        {IDC_PLACE, "我们的故事 김영하", "我们的故事 김영하"},
        {IDC_PLACE_KANA, "Reading 📚 together", "Reading 📚 together"},
        {IDC_ISBN, "ＩＳＢＮ９７８", "ＩＳＢＮ９７８"},
    };
    ScratchDirectory dir;
    {
        UiHarness ui;
        RunningTomebox app;
        OnForm(ui, app, IDC_NEW_BOOK, [&](HWND form) {
            for (const BoxText& b : boxes) SetText(form, b.box, b.typed);
            SetText(form, IDC_YEAR, "1968");
            SetText(form, IDC_MONTH, "11");
            Press(form, IDOK);
        });
        EXPECT_TRUE(ui.Boxes().empty());
        EXPECT_EQ(Repeat("表", 255), CellText(app.catalogueView(), 0, 0));
        EXPECT_EQ(0, app.Exit());
    }

    std::string expectedRow;
    for (const BoxText& b : boxes) expectedRow += b.stored + "|";
    expectedRow += "1968|11";
    EXPECT_EQ((std::vector<std::string>{expectedRow}),
              QueryDatabase(kFile, "SELECT BookName, BookNameKana, Author, AuthorKana, Publisher, PublisherKana, "
                                   "Place, PlaceKana, ISBN, Year, Month FROM Tomebox"));
    EXPECT_EQ((std::vector<std::string>{"765"}), QueryDatabase(kFile, "SELECT length(CAST(BookName AS BLOB)) FROM Tomebox"));
    std::string file = ReadFileBytes(dir.File(kFile));
    for (const BoxText& b : boxes) EXPECT_NE(std::string::npos, file.find(b.stored)) << b.typed;

    UiHarness ui;
    RunningTomebox app;
    SelectRow(app.catalogueView(), 0);
    OnForm(ui, app, IDC_EDIT_BOOK, [&](HWND form) {
        for (const BoxText& b : boxes)
            EXPECT_EQ(b.stored, GetText(form, b.box));
        EXPECT_EQ("1968", GetText(form, IDC_YEAR));
        EXPECT_EQ("11", GetText(form, IDC_MONTH));
        Press(form, IDCANCEL);
    });
    EXPECT_EQ(0, app.Exit());
}

// Run again under code page 1252 (TOMEBOX_TEST_CODE_PAGE names the one
// expected): the program's own texts, the record's texts and an edit do
// not depend on the system's code page.
// A second copy of a catalogued ISBN, compared as ISBNs: added after はい,
// back to the form as typed after いいえ.  An edit asks nothing.
TEST(BookFormUi, SecondCopyOfACataloguedIsbnIsAddedOnlyAfterYes)
{
    ScratchDirectory dir;
    WriteDatabase(kFile, CatalogueSql(u8"INSERT INTO Tomebox VALUES ('吾輩は猫である', NULL, '夏目漱石', NULL, 1905, "
                                      u8"10, NULL, NULL, NULL, NULL, '4-00-310101-4', 7);"));
    UiHarness ui;
    RunningTomebox app;
    for (int answer : {IDNO, IDYES}) {
        OnForm(ui, app, IDC_NEW_BOOK, [&](HWND form) {
            SetText(form, IDC_BOOK_NAME, "猫・二冊目");
            SetText(form, IDC_ISBN, "9784003101018");
            ui.QueueAnswer(answer);
            Press(form, IDOK);
            const ShownBox asked{"確認", "このISBNの本はすでに登録されています：吾輩は猫である。追加しますか？", MB_YESNO, form};
            EXPECT_EQ(std::vector<ShownBox>{asked}, ui.Boxes());
            ui.ClearBoxes();
            EXPECT_EQ(answer == IDNO, FormIsOpen(app));
            if (answer == IDYES) return;
            EXPECT_EQ("猫・二冊目", GetText(form, IDC_BOOK_NAME));
            EXPECT_EQ("9784003101018", GetText(form, IDC_ISBN));
            EXPECT_EQ(1, RowCount(app.catalogueView()));
            Press(form, IDCANCEL);
        });
    }
    SelectRow(app.catalogueView(), 1);
    OnForm(ui, app, IDC_EDIT_BOOK, [&](HWND form) {
        SetText(form, IDC_YEAR, "1906");
        Press(form, IDOK);
    });
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{u8"7|吾輩は猫である|夏目漱石|1905|10", u8"8|猫・二冊目|NULL|1906|0"}), Table());
}

TEST(AnyCodePage, OwnTextsAndRecordsKeepEveryCharacter)
{
    if (const char* expected = std::getenv("TOMEBOX_TEST_CODE_PAGE")) {
        ASSERT_EQ(std::strtoul(expected, nullptr, 10), GetACP());
    }
    ScratchDirectory dir;
    WriteDatabase(kFile, CatalogueSql("INSERT INTO Tomebox (BookName, Author, Place, Year, Month, ID) "
                                      "VALUES ('吾輩は猫である', '夏目漱石', 'Zoë の棚 📚', 1905, 10, 1);"));
    UiHarness ui;
    RunningTomebox app;
    EXPECT_EQ("Tomebox", WindowText(app.mainWindow()));
    WCHAR menu[64] = {};
    GetMenuStringW(GetMenu(app.mainWindow()), 0, menu, 64, MF_BYPOSITION);
    EXPECT_EQ("ファイル(&F)", Utf16ToUtf8(reinterpret_cast<const char16_t*>(menu)));
    EXPECT_EQ("新しい項目の作成", GetText(app.commandBar(), IDC_NEW_BOOK));
    WCHAR title[64] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 64;
    SendMessageW(app.catalogueView(), LVM_GETCOLUMNW, 5, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ("出版者", Utf16ToUtf8(reinterpret_cast<const char16_t*>(title)));
    EXPECT_EQ((std::vector<std::string>{"吾輩は猫である", "夏目漱石", "Zoë の棚 📚", "1905", "10", "", ""}),
              RowTexts(app.catalogueView(), 0));

    ui.WhenDialogOpens("バージョン情報", [](HWND about) { Press(about, IDOK); });
    SendMessageW(app.mainWindow(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);
    SelectRow(app.catalogueView(), 0);
    OnForm(ui, app, IDC_EDIT_BOOK, [&](HWND form) {
        EXPECT_EQ("書名(カナ)", GetText(form, IDC_BOOK_NAME_KANA_LABEL));
        EXPECT_EQ("Zoë の棚 📚", GetText(form, IDC_PLACE));
        SetText(form, IDC_BOOK_NAME, "");
        Press(form, IDOK);
        EXPECT_EQ(std::vector<ShownBox>{ErrorBox("書名は必須情報です", form)}, ui.Boxes());
        SetText(form, IDC_BOOK_NAME, "吾輩は猫である");
        SetText(form, IDC_YEAR, "1906");
        Press(form, IDOK);
    });
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_TRUE(ui.UnexpectedDialogs().empty());
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{"1|吾輩は猫である|夏目漱石|1906|10"}), Table());
    EXPECT_EQ((std::vector<std::string>{"Zoë の棚 📚"}), QueryDatabase(kFile, "SELECT Place FROM Tomebox"));
}

}  // namespace
