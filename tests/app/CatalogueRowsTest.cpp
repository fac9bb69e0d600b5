#include <windows.h>
#include <algorithm>
#include <climits>
#include <string>
#include <vector>
#include "app/CommandBar.h"
#include "app/Globals.h"
#include "listview/CatalogueListView.h"
#include "store/CatalogueDatabase.h"
#include "support/GTestWin32.h"
#include "support/RunningTomebox.h"
#include "support/ScratchDirectory.h"
#include "tests/app/SampleCatalogue.h"

namespace {

// A list view as plain rows, for the logic that only sees ListViewRows.
class FakeRows : public ListViewRows {
public:
    struct Row {
        std::vector<std::string> cells;
        int32_t itemData;
        bool selected;
    };
    std::vector<Row> rows;

    int Count() const override { return static_cast<int>(rows.size()); }
    int32_t ItemData(int row) const override { return rows.at(static_cast<size_t>(row)).itemData; }
    bool IsSelected(int row) const override { return rows.at(static_cast<size_t>(row)).selected; }
    void InsertRow(int row, const std::string& text, int32_t itemData) override
    {
        Row inserted{std::vector<std::string>(kBookColumnCount), itemData, false};
        inserted.cells[0] = text;
        rows.insert(rows.begin() + std::min(row, Count()), inserted);
    }
    void SetCellText(int row, int subitem, const std::string& text) override
    {
        rows.at(static_cast<size_t>(row)).cells.at(static_cast<size_t>(subitem)) = text;
    }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }

    std::vector<int32_t> ItemDataOfAll() const
    {
        std::vector<int32_t> data;
        for (const Row& row : rows) data.push_back(row.itemData);
        return data;
    }
};

BookFields Fields(const char* name, int32_t id, int32_t year = 0, int32_t month = 0)
{
    BookFields f;
    f.BookName = name;
    f.Year = year;
    f.Month = month;
    f.ID = id;
    return f;
}

TEST(RowTexts, ShowTheSevenColumnsOfARecord)
{
    BookFields full = Fields("吾輩は猫である", 12, 1905, 10);
    full.BookNameKana = "ワガハイハネコデアル";
    full.Author = "夏目漱石";
    full.AuthorKana = "ナツメソウセキ";
    full.Publisher = "大倉書店";
    full.PublisherKana = "オオクラショテン";
    full.Place = "書斎";
    full.PlaceKana = "ショサイ";
    full.ISBN = "978-4-00-310101-8";
    BookFields trailBytes = Fields("表示ソ\\", 1, -3, -12);
    trailBytes.Author = "O'Brien";

    const struct {
        const char* name;
        BookFields fields;
        BookRowTexts texts;
    } cases[] = {
        {"every field", full,
         {"吾輩は猫である", "夏目漱石", "書斎", "1905", "10", "大倉書店", "978-4-00-310101-8"}},
        {"year and month 0, texts empty", Fields("題", 5), {"題", "", "", "0", "0", "", ""}},
        {"negative numbers, 0x5C trail bytes, quote", trailBytes,
         {"表示ソ\\", "O'Brien", "", "-3", "-12", "", ""}},
        {"extreme numbers", Fields("x", 0, INT_MIN, INT_MAX),
         {"x", "", "", "-2147483648", "2147483647", "", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.texts, RowTextsOf(BookData(c.fields))) << c.name;
}

TEST(FillBookRows, OneRowPerRecordInListOrderCarryingTheId)
{
    const BookList books = {MakeBook(Fields("一", 7, 2001, 1)), MakeBook(Fields("二", 3)),
                            MakeBook(Fields("三", 12, 1999, 12))};
    FakeRows view;
    FillBookRows(view, books);
    EXPECT_EQ((std::vector<int32_t>{7, 3, 12}), view.ItemDataOfAll());
    for (size_t i = 0; i < books.size(); ++i) {
        const BookRowTexts texts = RowTextsOf(*books[i]);
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()), view.rows[i].cells) << i;
    }

    FakeRows empty;
    FillBookRows(empty, {});
    EXPECT_EQ(0, empty.Count());
}

TEST(InsertAndRewriteBookRow, WriteAllSevenCells)
{
    FakeRows view;
    FillBookRows(view, {MakeBook(Fields("一", 1)), MakeBook(Fields("二", 2))});
    InsertBookRow(view, 2, BookData(Fields("三", 9, 2020, 4)));
    EXPECT_EQ((std::vector<int32_t>{1, 2, 9}), view.ItemDataOfAll());
    EXPECT_EQ((std::vector<std::string>{"三", "", "", "2020", "4", "", ""}), view.rows[2].cells);

    BookFields changed = Fields("二の改訂", 2, 2021, 5);
    changed.ISBN = "4-00-000000-0";
    RewriteBookRow(view, 1, BookData(changed));
    EXPECT_EQ((std::vector<std::string>{"二の改訂", "", "", "2021", "5", "", "4-00-000000-0"}), view.rows[1].cells);
    EXPECT_EQ(2, view.ItemData(1));
}

TEST(FindSelectedRow, FirstSelectedRowOrMinusOne)
{
    const struct {
        const char* name;
        std::vector<bool> selected;
        int expected;
    } cases[] = {
        {"no rows", {}, -1},
        {"nothing selected", {false, false, false}, -1},
        {"first", {true, false, false}, 0},
        {"second", {false, true, false}, 1},
        {"last", {false, false, true}, 2},
        {"two selected: the first counts", {false, true, true}, 1},
    };
    for (const auto& c : cases) {
        FakeRows view;
        for (bool selected : c.selected) view.rows.push_back({{}, 0, selected});
        EXPECT_EQ(c.expected, FindSelectedRow(view)) << c.name;
    }
}

// DeleteCatalogueRow on the real catalogue database and a fake view.
class DeleteCatalogueRowTest : public ::testing::Test {
protected:
    void Open(const std::string& extraSql = "")
    {
        WriteDatabase(kCatalogueFile, SampleCatalogueSql() + extraSql);
        ASSERT_EQ(StartupOutcome::Ready, StartCatalogueDatabase(WindowOperations{}));
        FillBookRows(view, g_catalogue);
    }
    void TearDown() override
    {
        g_catalogueDb.Close();
        g_catalogue.clear();
    }
    std::vector<int32_t> ListedIds() const
    {
        std::vector<int32_t> ids;
        for (const BookPtr& book : g_catalogue) ids.push_back(book->GetID());
        return ids;
    }
    std::vector<std::string> TableIds() const
    {
        return QueryDatabase(kCatalogueFile, "SELECT ID FROM Tomebox ORDER BY ID");
    }

    ScratchDirectory dir;
    FakeRows view;
};

TEST_F(DeleteCatalogueRowTest, RemovesFromTableListAndViewAtTheSameIndex)
{
    Open();
    ASSERT_TRUE(DeleteCatalogueRow(view, 1));
    EXPECT_EQ((std::vector<std::string>{"3", "12", "25", "40"}), TableIds());
    EXPECT_EQ((std::vector<int32_t>{3, 12, 25, 40}), ListedIds());
    EXPECT_EQ((std::vector<int32_t>{3, 12, 25, 40}), view.ItemDataOfAll());
}

TEST_F(DeleteCatalogueRowTest, RefusedStatementChangesNothing)
{
    Open("CREATE TRIGGER KeepBooks BEFORE DELETE ON Tomebox BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    EXPECT_FALSE(DeleteCatalogueRow(view, 1));
    EXPECT_EQ((std::vector<std::string>{"3", "7", "12", "25", "40"}), TableIds());
    EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 25, 40}), ListedIds());
    EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 25, 40}), view.ItemDataOfAll());
}

TEST_F(DeleteCatalogueRowTest, ClosedDatabaseChangesNothing)
{
    Open();
    g_catalogueDb.Close();
    EXPECT_FALSE(DeleteCatalogueRow(view, 0));
    EXPECT_EQ(5u, g_catalogue.size());
    EXPECT_EQ(5, view.Count());
}

TEST_F(DeleteCatalogueRowTest, OnlyTheFirstRecordWithTheIdLeavesTheList)
{
    Open();
    g_catalogue.push_back(MakeBook(Fields("重複", 7)));
    view.InsertRow(5, "重複", 7);
    ASSERT_TRUE(DeleteCatalogueRow(view, 1));
    EXPECT_EQ((std::vector<int32_t>{3, 12, 25, 40, 7}), ListedIds());
    EXPECT_EQ((std::vector<int32_t>{3, 12, 25, 40, 7}), view.ItemDataOfAll());
}

TEST_F(DeleteCatalogueRowTest, RowWithoutRecordStillLeavesTheView)
{
    Open();
    view.InsertRow(5, "孤児", 99);
    ASSERT_TRUE(DeleteCatalogueRow(view, 5));
    EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 25, 40}), ListedIds());
    EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 25, 40}), view.ItemDataOfAll());
    EXPECT_EQ(5u, TableIds().size());
}

}  // namespace
