// Rows of the book list views on a fake view: the texts of a record's
// cells, the rows a list makes, their order by a column, and the count.
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
        std::vector<std::string> cells;
    } cases[] = {
        {"every field", full,
         {"吾輩は猫である", "夏目漱石", "書斎", "1905", "10", "大倉書店", "978-4-00-310101-8"}},
        {"year and month 0, texts empty", Fields("題", 5), {"題", "", "", "0", "0", "", ""}},
        {"negative numbers, 0x5C trail bytes, quote", trailBytes,
         {"表示ソ\\", "O'Brien", "", "-3", "-12", "", ""}},
        {"extreme numbers", Fields("x", 0, INT_MIN, INT_MAX),
         {"x", "", "", "-2147483648", "2147483647", "", ""}},
    };
    for (const auto& c : cases) {
        FakeListView view;
        InsertBookRow(view, 0, BookData(c.fields));
        EXPECT_EQ(c.cells, view.rows.at(0).cells) << c.name;
    }
}

TEST(FillBookRows, OneRowPerRecordInListOrderCarryingTheId)
{
    const BookList books = {MakeBook(Fields("一", 7, 2001, 1)), MakeBook(Fields("二", 3)),
                            MakeBook(Fields("三", 12, 1999, 12))};
    FakeListView view;
    FillBookRows(view, books);
    EXPECT_EQ((std::vector<BookId>{7, 3, 12}), view.ItemDataOfAll());
    EXPECT_EQ((std::vector<std::string>{"一", "", "", "2001", "1", "", ""}), view.rows.at(0).cells);
    EXPECT_EQ((std::vector<std::string>{"三", "", "", "1999", "12", "", ""}), view.rows.at(2).cells);

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

// Japanese order by reading where a record has one, else by its text:
// hiragana, katakana and half-width kana alike, digit runs as numbers,
// Latin before kana before kanji, empty cells last both ways; years as
// numbers with 0 empty; ISBNs by their 13-digit form.
TEST(BookViewSort, ColumnsInJapaneseOrderBothWays)
{
    auto book = [](int32_t id, const char* name, const char* kana, int32_t year, const char* isbn) {
        BookFields f = Fields(name, id, year);
        f.BookNameKana = kana;
        f.ISBN = isbn;
        return MakeBook(f);
    };
    const BookList books = {
        book(1, "銀河鉄道の夜", "ぎんがてつどうのよる", 1934, "4-10-109205-5"),
        book(2, "吾輩は猫である 10", "ワガハイハネコデアル 10", 0, ""),
        book(3, "雪国", "", 1937, "978-4-10-100101-2"),
        book(4, "あひる", "", -660, "9784101092058"),
        book(5, "吾輩は猫である 2", "ﾜｶﾞﾊｲﾊﾈｺﾃﾞｱﾙ 2", 2014, "x"),
        book(6, "Zebra", "", 2014, "4101001014"),
        book(7, "", "", 0, ""),
        book(8, "かもめ", "カモメ", 1896, ""),
    };
    const struct {
        int column;
        std::vector<BookId> ascending;
        std::vector<BookId> descending;
    } cases[] = {
        // Latin, then kana (あ, か, ぎ, わ...), then the kanji text without a
        // reading; ワガハイ...2 before ...10; the empty title last.
        {kTitleColumn, {6, 4, 8, 1, 5, 2, 3, 7}, {3, 2, 5, 1, 8, 4, 6, 7}},
        // Equal years keep their order in both directions; 0 last.
        {kYearColumn, {4, 8, 1, 3, 5, 6, 2, 7}, {5, 6, 3, 1, 8, 4, 2, 7}},
        // A 10-digit ISBN is its 13-digit form, equal keys keep their
        // order; no digits before the ISBNs.
        {kIsbnColumn, {5, 3, 6, 1, 4, 2, 7, 8}, {1, 4, 3, 6, 5, 2, 7, 8}},
    };
    for (const auto& c : cases) {
        FakeBookView shown;
        shown.view.Show(books);
        shown.view.SortBy(c.column);
        EXPECT_EQ(c.ascending, shown.rows.ItemDataOfAll()) << c.column;
        EXPECT_EQ(c.column, shown.rows.sortMark);
        EXPECT_TRUE(shown.rows.sortMarkAscending);
        shown.view.SortBy(c.column);
        EXPECT_EQ(c.descending, shown.rows.ItemDataOfAll()) << c.column;
        EXPECT_FALSE(shown.rows.sortMarkAscending);
        // The records follow the rows: a row still names its own record.
        for (int row = 0; row < shown.rows.Count(); ++row)
            EXPECT_EQ(shown.rows.ItemData(row), shown.view.RecordAt(row)->GetID());
    }
}

// In a sorted view a new record's row goes to its place and an edited
// one's moves to its new place, each selected; the count follows.
TEST(BookViewSort, AddedAndChangedRowsTakeTheirPlace)
{
    FakeBookView shown;
    BookList books = {MakeBook(Fields("c", 1)), MakeBook(Fields("a", 2)), MakeBook(Fields("e", 3))};
    shown.view.Show(books);
    EXPECT_EQ(3u, shown.rows.shownCount);
    shown.view.SortBy(kTitleColumn);
    ASSERT_EQ((std::vector<BookId>{2, 1, 3}), shown.rows.ItemDataOfAll());

    shown.view.Add(MakeBook(Fields("d", 4)));
    EXPECT_EQ((std::vector<BookId>{2, 1, 4, 3}), shown.rows.ItemDataOfAll());
    EXPECT_EQ(2, shown.rows.SelectedRow());
    EXPECT_EQ(4u, shown.rows.shownCount);

    *books[1] = BookData(Fields("f", 2));
    shown.view.Changed(books[1]);
    EXPECT_EQ((std::vector<BookId>{1, 4, 3, 2}), shown.rows.ItemDataOfAll());
    EXPECT_EQ("f", shown.rows.rows[3].cells[0]);
    EXPECT_EQ(3, shown.rows.SelectedRow());

    shown.view.Remove(books[0]);
    EXPECT_EQ((std::vector<BookId>{4, 3, 2}), shown.rows.ItemDataOfAll());
    EXPECT_EQ(3u, shown.rows.shownCount);
    shown.view.AddAll({MakeBook(Fields("b", 5)), MakeBook(Fields("g", 6))});
    EXPECT_EQ((std::vector<BookId>{5, 4, 3, 2, 6}), shown.rows.ItemDataOfAll());
    EXPECT_EQ(5u, shown.rows.shownCount);
}

TEST(BookCountText, ThousandsSeparated)
{
    EXPECT_EQ(u"0 冊", BookCountText(0));
    EXPECT_EQ(u"27 冊", BookCountText(27));
    EXPECT_EQ(u"1,234 冊", BookCountText(1234));
    EXPECT_EQ(u"100,000 冊", BookCountText(100000));
}

}  // namespace
