// Rows of the book list views on a fake view: the texts of a record's
// cells, the rows a list makes, and the selection scan.
#include <climits>
#include <string>
#include <vector>
#include "listview/BookListView.h"
#include "support/FakeListView.h"
#include "support/GTestWin32.h"

namespace {

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
    FakeListView view;
    FillBookRows(view, books);
    EXPECT_EQ((std::vector<BookId>{7, 3, 12}), view.ItemDataOfAll());
    for (size_t i = 0; i < books.size(); ++i) {
        const BookRowTexts texts = RowTextsOf(*books[i]);
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()), view.rows[i].cells) << i;
    }

    FakeListView empty;
    FillBookRows(empty, {});
    EXPECT_EQ(0, empty.Count());
}

TEST(InsertAndRewriteBookRow, WriteAllSevenCells)
{
    FakeListView view;
    FillBookRows(view, {MakeBook(Fields("一", 1)), MakeBook(Fields("二", 2))});
    InsertBookRow(view, 2, BookData(Fields("三", 9, 2020, 4)));
    EXPECT_EQ((std::vector<BookId>{1, 2, 9}), view.ItemDataOfAll());
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
        FakeListView view;
        for (bool selected : c.selected) view.rows.push_back({{}, 0, selected});
        EXPECT_EQ(c.expected, FindSelectedRow(view)) << c.name;
    }
}

}  // namespace
