// The CSV commands of the ファイル menu through the real program: the
// system's file dialogs answered as a user answers them, the file written,
// and the books read back into a catalogue.
#include <windows.h>
#include <string>
#include <vector>
#include "dialogs/CsvCommands.h"
#include "dialogs/Globals.h"
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "support/Catalogues.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "support/UiHarness.h"

namespace {

const char* const kFile = kCatalogueFile;

// The eleven values of every book, in ID order.
std::vector<std::string> Books()
{
    return QueryDatabase(kFile, "SELECT BookName, BookNameKana, Author, AuthorKana, Year, Month, Publisher, "
                                "PublisherKana, Place, PlaceKana, ISBN FROM Tomebox ORDER BY ID");
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class CsvCommands : public ::testing::Test {
protected:
    // The menu command, its file dialog answered with the path.
    void Run(RunningTomebox& app, int command, const std::string& path)
    {
        ui.WhenDialogOpens(command == IDM_EXPORT_CSV ? "名前を付けて保存" : "開く", [path](HWND dialog) {
            SetText(dialog, 1148, path);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        SendMessageW(app.mainWindow(), WM_COMMAND, command, 0);
        EXPECT_EQ(0u, ui.PendingDialogSteps());
        EXPECT_TRUE(ui.UnexpectedDialogs().empty());
    }

    ScratchDirectory dir;
    UiHarness ui;
};

// Books of every script, quotes, commas, line breaks, formula starts and a
// long text leave in the main list's order and come back value for value
// into an empty catalogue.
TEST_F(CsvCommands, AnExportedCatalogueComesBackWhole)
{
    const std::string longText(400, 'z');
    WriteDatabase(kFile, CatalogueSql(
        u8"INSERT INTO Tomebox VALUES ('吾輩は猫である', 'ワガハイハネコデアル', '夏目, 漱石', 'ナツメ ソウセキ', 1905, 10, "
        u8"'大倉書店', 'オオクラショテン', '書斎の本棚', 'ショサイ', '978-4-00-310101-8', 4);"
        u8"INSERT INTO Tomebox VALUES ('L''Étranger \"1942\"', NULL, 'Camus', NULL, 0, 0, NULL, NULL, '=SUM(A1)', "
        u8"NULL, '-1', 9);"
        u8"INSERT INTO Tomebox VALUES ('我们仨 📚', 'ウォメンサ', '김영하', NULL, -660, 2, '''@', NULL, 'line one' || "
        u8"char(13, 10) || 'line two', NULL, NULL, 20);"
        "INSERT INTO Tomebox VALUES ('" + longText + "', NULL, NULL, NULL, 2014, 0, NULL, NULL, NULL, NULL, NULL, 21);"));
    const std::vector<std::string> books = Books();
    const std::string csv = dir.File("books.csv");
    {
        RunningTomebox app;
        ClickColumnHeader(app.catalogueView(), kTitleColumn);
        Run(app, IDM_EXPORT_CSV, csv);
        EXPECT_TRUE(ui.Boxes().empty());
        EXPECT_EQ(0, app.Exit());
    }
    const std::string bytes = ReadFileBytes(csv);
    EXPECT_EQ(u8"\xEF\xBB\xBF書名,書名(カナ),著者,著者(カナ),発行年,発行月,出版者,出版者(カナ),場所,場所(カナ),ISBN\r\n",
              bytes.substr(0, bytes.find('\n') + 1));
    // Latin, ウォメンサ, ワガハイ..., in the order of the sorted list.
    EXPECT_LT(bytes.find("L'"), bytes.find("zzz"));
    EXPECT_LT(bytes.find("zzz"), bytes.find(u8"我们仨"));
    EXPECT_LT(bytes.find(u8"我们仨"), bytes.find(u8"吾輩は"));

    DeleteFileA(kFile);
    RunningTomebox app;
    Run(app, IDM_IMPORT_CSV, csv);
    EXPECT_EQ(std::vector<ShownBox>{ShownBox({"完了", "4冊を追加しました。", MB_OK, app.mainWindow()})}, ui.Boxes());
    EXPECT_EQ(4, RowCount(app.catalogueView()));
    EXPECT_EQ("4 冊", WindowText(g_globals.statusBar));
    EXPECT_EQ(0, app.Exit());
    // Added in the file's order, with IDs from 0.
    EXPECT_EQ((std::vector<std::string>{books[1], books[3], books[2], books[0]}), Books());
}

// A file with errors adds nothing, leaves the catalogue file as it was and
// names the lines; so does a database that refuses one of the books.
TEST_F(CsvCommands, ABadFileOrARefusedBookAddsNothing)
{
    const struct {
        const char* name;
        std::string csv;
        std::string box;
    } cases[] = {
        {"bad rows", u8"タイトル,出版年\r\n猫,2014\r\n,2015\r\n犬,二〇一四\r\n",
         u8"CSVファイルに誤りがあるため、何も追加しませんでした。\r\n3行目: 書名がありません\r\n4行目: 出版年「二〇一四」が整数ではありません"},
        {"refused by a trigger", u8"書名\r\n猫\r\n犬\r\n", u8"データベースへの追加に失敗しました"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDatabase(kFile, CatalogueSql(u8"INSERT INTO Tomebox (BookName, ID) VALUES ('既存', 3);"
                                          "CREATE TRIGGER NoDogs BEFORE INSERT ON Tomebox WHEN NEW.BookName = '犬' "
                                          "BEGIN SELECT RAISE(ABORT, 'no'); END;"));
        const std::string before = ReadFileBytes(kFile);
        const std::string csv = dir.File("bad.csv");
        WriteBytes(csv, c.csv);
        {
            RunningTomebox app;
            Run(app, IDM_IMPORT_CSV, csv);
            EXPECT_EQ(std::vector<ShownBox>{ErrorBox(c.box, app.mainWindow())}, ui.Boxes());
            EXPECT_EQ(1, RowCount(app.catalogueView()));
            EXPECT_EQ(1u, g_globals.catalogue.books.size());
            EXPECT_EQ(0, app.Exit());
        }
        EXPECT_TRUE(before == ReadFileBytes(kFile));
        ui.ClearBoxes();
        DeleteFileA(kFile);
    }
}

// Books whose ISBN is catalogued, or on an earlier line, are counted and
// asked about: added too, left out, or nothing imported.  The file is
// code page 932, as Excel saves it, with a column Tomebox does not know.
TEST_F(CsvCommands, CopiesAreAskedAbout)
{
    const std::string csv = dir.File("excel.csv");
    WriteBytes(csv, Cp932(u8"タイトル,著者名,ISBN-13,評価\r\n坊っちゃん,夏目漱石,4003101014,★★\r\n"
                          u8"雪国,川端康成,978-4-10-100101-2,★\r\n雪国 2,川端康成,9784101001012,\r\n表示ソフト,,,\r\n"));
    const struct {
        int answer;
        std::size_t added;
        std::string summary;
    } cases[] = {
        {IDYES, 4, u8"4冊を追加しました。\r\n読み込まなかった列: 評価"},
        {IDNO, 2, u8"2冊を追加しました。\r\n同じISBNの本2冊は追加しませんでした。\r\n読み込まなかった列: 評価"},
        {IDCANCEL, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        WriteDatabase(kFile, CatalogueSql(u8"INSERT INTO Tomebox (BookName, ISBN, ID) VALUES ('坊っちゃん', "
                                          u8"'978-4-00-310101-8', 7);"));
        {
            RunningTomebox app;
            ui.QueueAnswer(c.answer);
            Run(app, IDM_IMPORT_CSV, csv);
            ASSERT_FALSE(ui.Boxes().empty());
            EXPECT_EQ("確認", ui.Boxes()[0].caption);
            EXPECT_EQ(Utf16ToUtf8(CopiesQuestion(2)), ui.Boxes()[0].text);
            EXPECT_EQ(c.summary.empty() ? 1u : 2u, ui.Boxes().size());
            if (!c.summary.empty())
                EXPECT_EQ(ShownBox({"完了", c.summary, MB_OK, app.mainWindow()}), ui.Boxes().back());
            EXPECT_EQ(static_cast<int>(1 + c.added), RowCount(app.catalogueView()));
            EXPECT_EQ(0, app.Exit());
        }
        const std::vector<std::string> titles = QueryDatabase(kFile, "SELECT ID, BookName FROM Tomebox ORDER BY ID");
        ASSERT_EQ(1 + c.added, titles.size());
        if (c.answer == IDNO) EXPECT_EQ((std::vector<std::string>{u8"7|坊っちゃん", u8"9|雪国", u8"11|表示ソフト"}), titles);
        ui.ClearBoxes();
        DeleteFileA(kFile);
    }
}

// An import that takes longer than a moment shows its progress, with the
// other windows taking no input meanwhile, and gives them back after.
// (Under the harness's hook, which sees every message, 2,000 rows take
// well over that moment.)
TEST_F(CsvCommands, ALongImportShowsItsProgress)
{
    std::string csv = "書名,発行年\r\n";
    for (int i = 0; i < 2000; ++i) csv += "book " + std::to_string(i) + ",2014\r\n";
    const std::string path = dir.File("many.csv");
    WriteBytes(path, csv);
    RunningTomebox app;
    std::string step;
    bool mainWindowEnabled = true;
    ui.WhenDialogOpens("CSVファイルから読み込み", [&](HWND progress) {
        step = GetText(progress, IDC_PROGRESS_TEXT);
        mainWindowEnabled = IsWindowEnabled(app.mainWindow()) != FALSE;
    });
    Run(app, IDM_IMPORT_CSV, path);
    EXPECT_FALSE(step.empty());
    EXPECT_FALSE(mainWindowEnabled);
    EXPECT_TRUE(IsWindowEnabled(app.mainWindow()));
    EXPECT_EQ("2,000 冊", WindowText(g_globals.statusBar));
    EXPECT_EQ(std::vector<ShownBox>{ShownBox({"完了", "2000冊を追加しました。", MB_OK, app.mainWindow()})}, ui.Boxes());
    EXPECT_EQ(0, app.Exit());
}

}  // namespace
