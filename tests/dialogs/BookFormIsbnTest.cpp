// The ISBN button of the real book form, answered by the local HTTPS server
// of tests/lookup/with_lookup_server.py.
#include <string>
#include <vector>
#include "dialogs/Globals.h"
#include "lookup/LookupBoundary.h"
#include "lookup/LookupTestSupport.h"
#include "lookup/LookupWorkersEnvironment.h"
#include "resources/resource.h"
#include "support/CaseName.h"
#include "support/Catalogues.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "support/UiHarness.h"

namespace {

const char* const kFile = kCatalogueFile;
const char kForm[] = "書籍情報";

std::vector<std::string> Table()
{
    return QueryDatabase(kFile, "SELECT ID, BookName, Author, Year, Month, Place, ISBN FROM Tomebox ORDER BY ID");
}

class BookFormIsbn : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestServerRuns(TestServer::Trusted)) << "run through tests/lookup/with_lookup_server.py";
        UseTestServer(TestServer::Trusted);
    }

    // Presses the ISBN button and handles messages until the lookup has
    // written its answer; true when it did in time.
    bool LookUp(HWND form, const std::string& isbn)
    {
        const unsigned long before = FinishedVolumeLookups();
        SetText(form, IDC_ISBN, isbn);
        Press(form, IDC_ISBN_SEARCH);
        return PumpUntil(lookupBoxes, [&] { return FinishedVolumeLookups() > before; }, 8000);
    }

    ScratchDirectory dir;
    UiHarness ui;
    BoxCatcher lookupBoxes{true};  // the lookup workers' boxes; the harness takes the rest
};

TEST_F(BookFormIsbn, AnswerFillsTheBoxesWhileTheFormStaysResponsiveAndOkSavesThem)
{
    RunningTomebox app;
    ui.WhenDialogOpens(kForm, [&](HWND form) {
        SetText(form, IDC_BOOK_NAME, "仮題");
        SetText(form, IDC_PLACE, "表の棚");
        const unsigned long before = FinishedVolumeLookups();
        SetText(form, IDC_ISBN, "slow:400:9784003101018");
        Press(form, IDC_ISBN_SEARCH);
        // The button returned before the answer came; the form still takes input.
        EXPECT_EQ(before, FinishedVolumeLookups());
        EXPECT_EQ("仮題", GetText(form, IDC_BOOK_NAME));
        SetText(form, IDC_AUTHOR, "typed while waiting");
        EXPECT_EQ("typed while waiting", GetText(form, IDC_AUTHOR));
        ASSERT_TRUE(PumpUntil(lookupBoxes, [&] { return FinishedVolumeLookups() > before; }, 8000));

        EXPECT_EQ("Full Title", GetText(form, IDC_BOOK_NAME));
        EXPECT_EQ("Author One", GetText(form, IDC_AUTHOR));
        EXPECT_EQ("2014", GetText(form, IDC_YEAR));
        EXPECT_EQ("05", GetText(form, IDC_MONTH));
        EXPECT_EQ("表の棚", GetText(form, IDC_PLACE));
        Press(form, IDOK);
    });
    Press(app.commandBar(), IDC_NEW_BOOK);
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(lookupBoxes.Boxes().empty());
    ASSERT_EQ(1, RowCount(app.catalogueView()));
    EXPECT_EQ((std::vector<std::string>{"Full Title", "Author One", "表の棚", "2014", "5", "", "slow:400:9784003101018"}),
              RowTexts(app.catalogueView(), 0));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{u8"0|Full Title|Author One|2014|5|表の棚|slow:400:9784003101018"}), Table());
}

// What the lookup writes into the boxes is what OK saves, in any script.
TEST_F(BookFormIsbn, AnswersInAnyScriptAreSavedAsShown)
{
    RunningTomebox app;
    const std::pair<std::string, std::string> volumes[] = {{"L'Étranger", "Albert Camus"}, {"我们仨", "杨绛"}};
    for (const auto& [title, author] : volumes) {
        ui.WhenDialogOpens(kForm, [&](HWND form) {
            ASSERT_TRUE(LookUp(form, "volume:" + title + "|" + author));
            EXPECT_EQ(title, GetText(form, IDC_BOOK_NAME));
            Press(form, IDOK);
        });
        Press(app.commandBar(), IDC_NEW_BOOK);
    }
    EXPECT_TRUE(ui.Boxes().empty());
    EXPECT_TRUE(lookupBoxes.Boxes().empty());
    EXPECT_EQ("我们仨", CellText(app.catalogueView(), 1, 0));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{"0|L'Étranger|Albert Camus|1942|5|NULL|volume:L'Étranger|Albert Camus",
                                        "1|我们仨|杨绛|1942|5|NULL|volume:我们仨|杨绛"}),
              Table());
}

TEST_F(BookFormIsbn, CancelAfterTheAnswerChangesNothing)
{
    WriteDatabase(kFile, CatalogueSql(u8"INSERT INTO Tomebox VALUES ('雪国', NULL, '川端康成', NULL, 1937, 6, NULL, "
                                      u8"NULL, '居間', NULL, NULL, 4);"));
    const std::vector<std::string> before = Table();
    RunningTomebox app;
    BookPtr record = g_globals.catalogue.books.at(0);
    SelectRow(app.catalogueView(), 0);
    ui.WhenDialogOpens(kForm, [&](HWND form) {
        ASSERT_TRUE(LookUp(form, "9784003101018"));
        EXPECT_EQ("Full Title", GetText(form, IDC_BOOK_NAME));
        Press(form, IDCANCEL);
    });
    Press(app.commandBar(), IDC_EDIT_BOOK);
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_EQ("雪国", record->GetBookName());
    EXPECT_EQ(1937, record->GetYear());
    EXPECT_EQ((std::vector<std::string>{"雪国", "川端康成", "居間", "1937", "6", "", ""}), RowTexts(app.catalogueView(), 0));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ(before, Table());
}

TEST_F(BookFormIsbn, OkBeforeTheAnswerSavesWhatWasTyped)
{
    RunningTomebox app;
    unsigned long before = 0;
    ui.WhenDialogOpens(kForm, [&](HWND form) {
        SetText(form, IDC_BOOK_NAME, "手入力");
        before = FinishedVolumeLookups();
        SetText(form, IDC_ISBN, "slow:300:9784003101018");
        Press(form, IDC_ISBN_SEARCH);
        Press(form, IDOK);
    });
    Press(app.commandBar(), IDC_NEW_BOOK);
    // The answer arrives after the form has gone and is dropped.
    ASSERT_TRUE(PumpUntil(lookupBoxes, [&] { return FinishedVolumeLookups() > before; }, 8000));
    EXPECT_TRUE(lookupBoxes.Boxes().empty());
    EXPECT_EQ("手入力", CellText(app.catalogueView(), 0, 0));
    EXPECT_EQ(0, app.Exit());
    EXPECT_EQ((std::vector<std::string>{u8"0|手入力|NULL|0|0|NULL|slow:300:9784003101018"}), Table());
}

// Both services through the real form: the eight boxes they fill after one
// press, and the one message when neither found the book.
struct TwoServicesCase {
    const char* name;
    std::string isbn;
    std::vector<std::pair<int, std::string>> typed;  // before the press
    std::vector<std::string> boxes;                  // afterwards, as kFilledBoxes
    bool notFound;                                   // "リクエスト結果の処理に失敗しました", once
};

const int kFilledBoxes[] = {IDC_BOOK_NAME, IDC_BOOK_NAME_KANA, IDC_AUTHOR,    IDC_AUTHOR_KANA,
                            IDC_YEAR,      IDC_MONTH,          IDC_PUBLISHER, IDC_PUBLISHER_KANA};

const TwoServicesCase kTwoServicesCases[] = {
    {"both found", "9784101010014", {},
     {"坊っちゃん", "ボッチャン", "夏目 漱石", "ナツメ ソウセキ", "1942", "05", "新潮社", "シンチョウシャ"}, false},
    {"Google refuses with 429 the Library found it", "978-4-09-870001-6", {},
     {"名探偵コナン 105", "メイタンテイ コナン", "青山剛昌", "アオヤマ ゴウショウ", "2023", "4", "小学館", "ショウガクカン"}, false},
    {"a reading the user typed stays a year of 0 is empty", "9784098700016",
     {{IDC_AUTHOR_KANA, "あおやま ごうしょう"}, {IDC_YEAR, "0"}},
     {"名探偵コナン 105", "メイタンテイ コナン", "青山剛昌", "あおやま ごうしょう", "2023", "4", "小学館", "ショウガクカン"}, false},
    {"neither found it", "9784000000019", {}, {"", "", "", "", "", "", "", ""}, true},
};

class BookFormTwoServices : public BookFormIsbn, public ::testing::WithParamInterface<TwoServicesCase> {};

TEST_P(BookFormTwoServices, OnePressFillsTheBoxesOrShowsOneMessage)
{
    const TwoServicesCase& c = GetParam();
    RunningTomebox app;
    ui.WhenDialogOpens(kForm, [&](HWND form) {
        for (const auto& [box, text] : c.typed) SetText(form, box, text);
        ASSERT_TRUE(LookUp(form, c.isbn));
        std::vector<std::string> boxes;
        for (int box : kFilledBoxes) boxes.push_back(GetText(form, box));
        EXPECT_EQ(c.boxes, boxes);
        ASSERT_EQ(c.notFound ? 1u : 0u, lookupBoxes.Boxes().size());
        if (c.notFound) {
            EXPECT_EQ("エラー", lookupBoxes.Boxes()[0].caption);
            EXPECT_EQ("リクエスト結果の処理に失敗しました", lookupBoxes.Boxes()[0].text);
            EXPECT_EQ(form, lookupBoxes.Boxes()[0].owner);
        }
        Press(form, IDCANCEL);
    });
    Press(app.commandBar(), IDC_NEW_BOOK);
    EXPECT_EQ(0u, ui.PendingDialogSteps());
    EXPECT_EQ(0, app.Exit());
}

INSTANTIATE_TEST_SUITE_P(Cases, BookFormTwoServices, ::testing::ValuesIn(kTwoServicesCases),
                         CaseName<::testing::TestParamInfo<TwoServicesCase>>);

}  // namespace
