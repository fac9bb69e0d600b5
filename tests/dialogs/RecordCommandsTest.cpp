// The decisions of the book form and the delete commands on fake lists,
// views and statements: the cases the real windows cannot easily reach.
#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include "dialogs/RecordCommands.h"
#include "resources/resource.h"
#include "support/FakeListView.h"
#include "support/GTestWin32.h"

namespace {

class FakeBoxes : public BookFormBoxes {
public:
    std::u16string Text(int box) const override
    {
        auto found = texts.find(box);
        return found == texts.end() ? u"" : found->second;
    }
    int32_t Number(int box) const override
    {
        auto found = numbers.find(box);
        return found == numbers.end() ? 0 : found->second;
    }
    void SetText(int box, const std::u16string& text) override { texts[box] = text; }

    std::map<int, std::u16string> texts;
    std::map<int, int32_t> numbers;
};

BookFields Book(BookId id, const std::string& name, int32_t year = 2000)
{
    BookFields f;
    f.BookName = name;
    f.Author = name + " author";
    f.Place = "shelf";
    f.Year = year;
    f.Month = 4;
    f.Publisher = "pub";
    f.ISBN = "978";
    f.ID = id;
    return f;
}

// The catalogue and hit lists, the catalogue view and two results views
// (the newer one showing the hit list), and a database stand-in that
// records what it was asked to write.
struct Lists {
    BookList catalogue;
    BookList hits;
    FakeListView catalogueView;
    FakeListView resultsView;
    FakeListView olderResultsView;
    BookList olderResults;
    FakeBoxes boxes;
    std::vector<SaveMode> saves;
    std::vector<BookFields> saved;
    std::vector<BookId> removed;
    bool writesSucceed = true;

    void AddToCatalogue(const BookFields& f)
    {
        catalogue.push_back(MakeBook(f));
        catalogueView.Append(*catalogue.back());
    }
    void AddToHits(const BookPtr& book)
    {
        hits.push_back(book);
        resultsView.Append(*book);
    }
    RecordCommandContext Context()
    {
        return {catalogue, hits, catalogueView, {{olderResultsView, olderResults}, {resultsView, hits}},
                {[this](SaveMode mode, const BookPtr& book) {
                     saves.push_back(mode);
                     saved.push_back(book->Fields());
                     return writesSucceed;
                 },
                 [this](BookId id) {
                     removed.push_back(id);
                     return writesSucceed;
                 }}};
    }
    // The form opened on a row (-1: a new record) of the catalogue view or
    // the results view.
    BookFormTarget Open(int row, bool fromResults = false)
    {
        const FakeListView& view = fromResults ? resultsView : catalogueView;
        return InitialiseBookForm(boxes, row != -1, RecordBehindRow(view, row, fromResults ? hits : catalogue));
    }
    FormOutcome Submit(const BookFormTarget& target)
    {
        RecordCommandContext context = Context();
        return SubmitBookForm(boxes, target, context);
    }
    bool Delete(const BookPtr& record)
    {
        RecordCommandContext context = Context();
        return DeleteRecord(record, context);
    }
    static std::vector<int32_t> Ids(const BookList& books)
    {
        std::vector<int32_t> ids;
        for (const BookPtr& book : books) ids.push_back(book->GetID());
        return ids;
    }
};

TEST(NextBookId, OneMoreThanTheLargest)
{
    const struct {
        const char* name;
        std::vector<BookId> ids;
        std::optional<BookId> next;
    } cases[] = {
        {"empty catalogue", {}, 0},
        {"one record", {0}, 1},
        {"largest not last", {5, 9, 2}, 10},
        {"gaps are not refilled", {0, 7}, 8},
        {"only negative ids", {-3, -1}, 0},
        {"beyond 32 bits", {INT_MAX}, BookId{INT_MAX} + 1},
        {"largest but one", {INT64_MAX - 1}, INT64_MAX},
        {"largest possible", {INT64_MAX}, std::nullopt},
        {"largest possible among others", {3, INT64_MAX, 4}, std::nullopt},
    };
    for (const auto& c : cases) {
        BookList books;
        for (BookId id : c.ids) books.push_back(MakeBook(Book(id, "t")));
        EXPECT_EQ(c.next, NextBookId(books)) << c.name;
    }
}

TEST(BookFormSubmit, AddAppendsRecordAndRowWithNextIdWhereverTheFormOpened)
{
    for (bool fromResults : {false, true}) {
        Lists lists;
        lists.AddToCatalogue(Book(4, "a"));
        lists.AddToCatalogue(Book(2, "b"));
        lists.AddToHits(lists.catalogue[0]);
        const BookFormTarget target = lists.Open(-1, fromResults);
        lists.boxes.texts = {{IDC_BOOK_NAME, u"  "}, {IDC_AUTHOR, u"著者"}, {IDC_PLACE, u"棚"},
                             {IDC_PUBLISHER, u"表社"}, {IDC_ISBN, u"4-00"}, {IDC_PLACE_KANA, u"タナ"}};
        lists.boxes.numbers = {{IDC_YEAR, -5}, {IDC_MONTH, 0}};

        ASSERT_EQ(FormOutcome::Saved, lists.Submit(target));

        EXPECT_EQ(std::vector<SaveMode>{Insert}, lists.saves);
        ASSERT_EQ(3u, lists.catalogue.size());
        const BookFields& added = lists.catalogue[2]->Fields();
        EXPECT_EQ(5, added.ID);
        EXPECT_EQ("  ", added.BookName);
        EXPECT_EQ(u8"タナ", added.PlaceKana);
        EXPECT_EQ("", added.BookNameKana);
        EXPECT_EQ(5, lists.catalogueView.ItemData(2));
        EXPECT_EQ((std::vector<std::string>{"  ", u8"著者", u8"棚", "-5", "0", u8"表社", "4-00"}),
                  lists.catalogueView.rows[2].cells);
        EXPECT_EQ(1, lists.resultsView.Count());
        EXPECT_EQ(1u, lists.hits.size());
    }
}

// The form holds its record, not its row: rows moved, deleted or given to
// another record while it was open change nothing of what OK changes, and
// every row that shows the record is rewritten, in every view.
TEST(BookFormSubmit, ChangeActsOnTheRecordTheFormOpenedOn)
{
    Lists lists;
    for (int32_t id : {3, 7, 10, 42}) lists.AddToCatalogue(Book(id, "book " + std::to_string(id)));
    lists.AddToHits(lists.catalogue[2]);
    lists.olderResultsView.Append(*lists.catalogue[3]);
    lists.olderResultsView.Append(*lists.catalogue[2]);
    const BookFormTarget target = lists.Open(0, true);  // ID 10
    ASSERT_EQ(lists.catalogue[2], target.record);

    // Meanwhile the other window deletes ID 3 (rows move up) and selects
    // another row.
    lists.catalogue.erase(lists.catalogue.begin());
    lists.catalogueView.DeleteRow(0);
    lists.catalogueView.rows[2].selected = true;
    lists.boxes.texts[IDC_PLACE] = u"棚";
    ASSERT_EQ(FormOutcome::Saved, lists.Submit(target));

    EXPECT_EQ(10, lists.saved.at(0).ID);
    EXPECT_EQ("book 10", lists.saved.at(0).BookName);
    EXPECT_EQ(u8"棚", lists.catalogue[1]->GetPlace());
    EXPECT_EQ("shelf", lists.catalogue[2]->GetPlace());
    for (const FakeListView* view : {&lists.catalogueView, &lists.resultsView, &lists.olderResultsView})
        for (const FakeListView::Row& row : view->rows)
            EXPECT_EQ(row.itemData == 10 ? u8"棚" : "shelf", row.cells[2]) << row.itemData;
}

// OK saves nothing for a record the catalogue list no longer holds: its row
// had none when the form opened, or it was deleted meanwhile (even when a
// new record has taken its ID since).
TEST(BookFormSubmit, RecordGoneSavesNothing)
{
    const struct {
        const char* name;
        int row;
        bool fromResults;
        bool deletedMeanwhile;
    } cases[] = {
        {"row beyond the view", 2, false, false},
        {"id not in the hit list", 1, true, false},
        {"hit deleted from the catalogue before", 2, true, false},
        {"deleted while the form was open", 0, false, true},
    };
    for (const auto& c : cases) {
        Lists lists;
        lists.AddToCatalogue(Book(0, "a"));
        lists.AddToCatalogue(Book(1, "b"));
        lists.AddToHits(lists.catalogue[0]);
        lists.resultsView.Append(BookData(Book(5, "gone")));
        lists.AddToHits(MakeBook(Book(1, "deleted, its ID taken by b")));
        const BookFormTarget target = lists.Open(c.row, c.fromResults);
        if (c.deletedMeanwhile) lists.catalogue[0] = MakeBook(Book(0, "new record, same ID"));
        lists.boxes.texts[IDC_BOOK_NAME] = u"changed";

        EXPECT_EQ(FormOutcome::RecordMissing, lists.Submit(target)) << c.name;
        EXPECT_TRUE(lists.saves.empty()) << c.name;
        EXPECT_EQ("b", lists.catalogue[1]->GetBookName()) << c.name;
        EXPECT_EQ("a", lists.catalogueView.rows[0].cells[0]) << c.name;
    }
}

TEST(BookFormValues, TypedTextsAreCutToTheLimitOnACharacterBoundary)
{
    const std::u16string books = u"📚";  // a surrogate pair
    const struct {
        const char* name;
        std::u16string typed;
        std::string stored;
    } cases[] = {
        {"255 units kept", std::u16string(255, u'a'), std::string(255, 'a')},
        {"a pair across the limit", std::u16string(254, u'a') + books, std::string(254, 'a')},
        {"a pair just inside", std::u16string(253, u'a') + books + u"x", std::string(253, 'a') + u8"📚"},
    };
    for (const auto& c : cases) {
        FakeBoxes boxes;
        for (int box : {IDC_BOOK_NAME, IDC_AUTHOR, IDC_PLACE_KANA, IDC_ISBN}) boxes.texts[box] = c.typed;
        BookFields f = ReadFormValues(boxes, BookFormTarget());
        for (const std::string* field : {&f.BookName, &f.Author, &f.PlaceKana, &f.ISBN})
            EXPECT_EQ(c.stored, *field) << c.name;
    }
}

// A box the user left alone keeps its field byte for byte: a text longer
// than the limit, bytes that are no UTF-8 (written by another program), or
// a value the other window saved while the form was open.
TEST(BookFormSubmit, BoxesLeftAloneKeepTheirFieldsAsStored)
{
    const struct {
        const char* name;
        std::optional<std::u16string> placeBox;  // none: left alone
        std::string savedPlace;
    } cases[] = {
        {"untouched", std::nullopt, "shelf"},
        {"changed", u"棚x", u8"棚x"},
    };
    for (const auto& c : cases) {
        Lists lists;
        BookFields book = Book(4, std::string(300, 't'));
        book.Author = "Zo\xEB";  // code page 1252, not UTF-8
        lists.AddToCatalogue(book);
        const BookFormTarget target = lists.Open(0);
        EXPECT_EQ(u"Zo\uFFFD", lists.boxes.texts[IDC_AUTHOR]);
        if (c.placeBox) lists.boxes.texts[IDC_PLACE] = *c.placeBox;
        lists.boxes.texts[IDC_YEAR] = u"1999";
        lists.boxes.numbers[IDC_YEAR] = 1999;
        // The other window changes the ISBN meanwhile.
        BookFields meanwhile = lists.catalogue[0]->Fields();
        meanwhile.ISBN = "979";
        *lists.catalogue[0] = BookData(meanwhile);

        ASSERT_EQ(FormOutcome::Saved, lists.Submit(target)) << c.name;
        const BookFields& saved = lists.saved.at(0);
        EXPECT_EQ(c.savedPlace, saved.Place) << c.name;
        EXPECT_EQ(std::string(300, 't'), saved.BookName) << c.name;
        EXPECT_EQ("Zo\xEB", saved.Author) << c.name;
        EXPECT_EQ("979", saved.ISBN) << c.name;
        EXPECT_EQ(1999, saved.Year) << c.name;
        EXPECT_EQ(4, saved.Month) << c.name;
        EXPECT_EQ(c.savedPlace, lists.catalogue[0]->GetPlace()) << c.name;
    }
}

TEST(BookFormInitialise, LeavesBoxesEmptyWithoutARecord)
{
    Lists lists;
    lists.AddToCatalogue(Book(4, "a"));
    lists.catalogueView.Append(BookData(Book(6, "orphan")));
    for (int row : {-1, 1, 2}) {
        lists.boxes.texts.clear();
        const BookFormTarget target = lists.Open(row);
        EXPECT_TRUE(lists.boxes.texts.empty()) << row;
        EXPECT_EQ(row != -1, target.editing) << row;
    }
}

// A delete that the database refuses, or whose record is gone from the
// catalogue list (deleted since it was taken, though a new record may
// carry its ID), changes nothing.
TEST(DeleteRecord, RefusedOrGoneChangesNothing)
{
    for (const char* why : {"refused", "gone", "none"}) {
        Lists lists;  // catalogue 3, 7, 12; hits 12 and 7
        for (int32_t id : {3, 7, 12}) lists.AddToCatalogue(Book(id, "book " + std::to_string(id)));
        lists.AddToHits(lists.catalogue[2]);
        lists.AddToHits(lists.catalogue[1]);
        BookPtr record = lists.catalogue[1];
        lists.writesSucceed = std::string(why) != "refused";
        if (std::string(why) == "gone") lists.catalogue[1] = MakeBook(Book(7, "new record, same ID"));
        if (std::string(why) == "none") record = nullptr;
        EXPECT_FALSE(lists.Delete(record)) << why;
        EXPECT_EQ(std::string(why) == "refused", !lists.removed.empty()) << why;
        EXPECT_EQ((std::vector<int32_t>{3, 7, 12}), Lists::Ids(lists.catalogue)) << why;
        EXPECT_EQ((std::vector<BookId>{3, 7, 12}), lists.catalogueView.ItemDataOfAll()) << why;
        EXPECT_EQ((std::vector<BookId>{12, 7}), lists.resultsView.ItemDataOfAll()) << why;
        EXPECT_EQ((std::vector<int32_t>{12, 7}), Lists::Ids(lists.hits)) << why;
    }
}

}  // namespace
