// The decisions of the book form and the delete commands on fake lists,
// views and statements: the cases the real windows cannot easily reach.
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

// The catalogue list and its view, the views of two results windows, and
// a database stand-in that records what it was asked to write.
struct Lists {
    BookList catalogue;
    FakeBookView catalogueView;
    FakeBookView resultsView;
    FakeBookView olderResultsView;
    FakeBoxes boxes;
    std::vector<SaveMode> saves;
    std::vector<BookFields> saved;
    std::vector<BookId> removed;
    bool writesSucceed = true;

    void AddToCatalogue(const BookFields& f)
    {
        catalogue.push_back(MakeBook(f));
        catalogueView.view.AddAll({catalogue.back()});
    }
    RecordCommandContext Context()
    {
        return {catalogue, catalogueView.view, {&olderResultsView.view, &resultsView.view},
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

// A new record takes the next ID, goes last into the catalogue list, and
// into the catalogue view at its place in the view's order, selected; the
// results views do not show it.
TEST(BookFormSubmit, AddGoesIntoTheCatalogueViewAtItsPlace)
{
    for (int sortedBy : {-1, int{kTitleColumn}}) {
        Lists lists;
        lists.AddToCatalogue(Book(4, "c"));
        lists.AddToCatalogue(Book(2, "a"));
        lists.resultsView.view.Show({lists.catalogue[0]});
        if (sortedBy >= 0) lists.catalogueView.view.SortBy(sortedBy);
        const BookFormTarget target = InitialiseBookForm(lists.boxes, nullptr);
        lists.boxes.texts = {{IDC_BOOK_NAME, u"b"}, {IDC_AUTHOR, u"著者"}, {IDC_PLACE, u"棚"},
                             {IDC_PUBLISHER, u"表社"}, {IDC_ISBN, u"4-00"}, {IDC_PLACE_KANA, u"タナ"}};
        lists.boxes.numbers = {{IDC_YEAR, -5}, {IDC_MONTH, 0}};

        ASSERT_EQ(FormOutcome::Saved, lists.Submit(target)) << sortedBy;

        EXPECT_EQ(std::vector<SaveMode>{Insert}, lists.saves);
        ASSERT_EQ(3u, lists.catalogue.size());
        const BookFields& added = lists.catalogue[2]->Fields();
        EXPECT_EQ(5, added.ID);
        EXPECT_EQ(u8"タナ", added.PlaceKana);
        EXPECT_EQ("", added.BookNameKana);
        const std::vector<BookId> rows = sortedBy < 0 ? std::vector<BookId>{4, 2, 5} : std::vector<BookId>{2, 5, 4};
        EXPECT_EQ(rows, lists.catalogueView.rows.ItemDataOfAll()) << sortedBy;
        const int row = sortedBy < 0 ? 2 : 1;
        EXPECT_EQ(row, lists.catalogueView.rows.SelectedRow());
        EXPECT_EQ((std::vector<std::string>{"b", u8"著者", u8"棚", "-5", "0", u8"表社", "4-00"}),
                  lists.catalogueView.rows.rows[static_cast<size_t>(row)].cells);
        EXPECT_EQ(3u, lists.catalogueView.rows.shownCount);
        EXPECT_EQ((std::vector<BookId>{4}), lists.resultsView.rows.ItemDataOfAll());
    }
}

// The form holds its record, not a row: rows moved, deleted or sorted
// while it was open change nothing of what OK changes, and every row that
// shows the record is rewritten, in every view.
TEST(BookFormSubmit, ChangeActsOnTheRecordTheFormOpenedOn)
{
    Lists lists;
    for (int32_t id : {3, 7, 10, 42}) lists.AddToCatalogue(Book(id, "book " + std::to_string(id)));
    lists.resultsView.view.Show({lists.catalogue[2]});
    lists.olderResultsView.view.Show({lists.catalogue[3], lists.catalogue[2]});
    const BookFormTarget target = InitialiseBookForm(lists.boxes, lists.catalogue[2]);  // ID 10
    EXPECT_EQ(u"book 10", lists.boxes.texts[IDC_BOOK_NAME]);

    // Meanwhile the other window deletes ID 3 (rows move up) and sorts.
    ASSERT_TRUE(lists.Delete(lists.catalogue[0]));
    lists.catalogueView.view.SortBy(kTitleColumn);
    lists.catalogueView.view.SortBy(kTitleColumn);
    lists.boxes.texts[IDC_PLACE] = u"棚";
    ASSERT_EQ(FormOutcome::Saved, lists.Submit(target));

    EXPECT_EQ(10, lists.saved.at(0).ID);
    EXPECT_EQ("book 10", lists.saved.at(0).BookName);
    EXPECT_EQ(u8"棚", lists.catalogue[1]->GetPlace());
    EXPECT_EQ("shelf", lists.catalogue[2]->GetPlace());
    for (const FakeBookView* view : {&lists.catalogueView, &lists.resultsView, &lists.olderResultsView})
        for (const FakeListView::Row& row : view->rows.rows) {
            EXPECT_EQ(row.itemData == 10 ? u8"棚" : "shelf", row.cells[2]) << row.itemData;
            EXPECT_EQ(row.itemData == 10, row.selected) << row.itemData;
        }
}

// OK saves nothing for a record the catalogue list no longer holds: it was
// deleted while the form was open, even when a new record has taken its ID
// since.
TEST(BookFormSubmit, RecordGoneSavesNothing)
{
    Lists lists;
    lists.AddToCatalogue(Book(0, "a"));
    lists.AddToCatalogue(Book(1, "b"));
    const BookFormTarget target = InitialiseBookForm(lists.boxes, lists.catalogue[0]);
    lists.catalogue[0] = MakeBook(Book(0, "new record, same ID"));
    lists.boxes.texts[IDC_BOOK_NAME] = u"changed";

    EXPECT_EQ(FormOutcome::RecordMissing, lists.Submit(target));
    EXPECT_TRUE(lists.saves.empty());
    EXPECT_EQ("new record, same ID", lists.catalogue[0]->GetBookName());
    EXPECT_EQ("a", lists.catalogueView.rows.rows[0].cells[0]);
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
        const BookFormTarget target = InitialiseBookForm(lists.boxes, lists.catalogue[0]);
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

// A delete that the database refuses changes nothing; one whose record is
// gone from the catalogue list (deleted meanwhile from the other window,
// though a new record may carry its ID) is done already: it writes nothing
// and touches no other record.
TEST(DeleteRecord, RefusedChangesNothingAndGoneIsDone)
{
    for (const char* why : {"refused", "gone"}) {
        Lists lists;  // catalogue 3, 7, 12; results 12 and 7
        for (int32_t id : {3, 7, 12}) lists.AddToCatalogue(Book(id, "book " + std::to_string(id)));
        lists.resultsView.view.Show({lists.catalogue[2], lists.catalogue[1]});
        BookPtr record = lists.catalogue[1];
        const bool refused = std::string(why) == "refused";
        lists.writesSucceed = !refused;
        if (!refused) lists.catalogue[1] = MakeBook(Book(7, "new record, same ID"));
        EXPECT_EQ(!refused, lists.Delete(record)) << why;
        EXPECT_EQ(refused, !lists.removed.empty()) << why;
        EXPECT_EQ((std::vector<int32_t>{3, 7, 12}), Lists::Ids(lists.catalogue)) << why;
        EXPECT_EQ((std::vector<BookId>{3, 7, 12}), lists.catalogueView.rows.ItemDataOfAll()) << why;
    }
    Lists lists;
    EXPECT_FALSE(lists.Delete(nullptr));
}

}  // namespace
