// The decisions of the book form and the delete commands on fake lists,
// views and statements: the cases the real windows cannot easily reach.
#include <climits>
#include <map>
#include <string>
#include <vector>
#include "dialogs/RecordCommands.h"
#include "resources/resource.h"
#include "support/FakeListView.h"
#include "support/GTestWin32.h"

namespace {

class FakeBoxes : public BookFormBoxes {
public:
    std::string Text(int box) const override
    {
        auto found = texts.find(box);
        return found == texts.end() ? "" : found->second;
    }
    int32_t Number(int box) const override
    {
        auto found = numbers.find(box);
        return found == numbers.end() ? 0 : found->second;
    }
    void SetText(int box, const std::string& text) override { texts[box] = text; }

    std::map<int, std::string> texts;
    std::map<int, int32_t> numbers;
};

BookFields Book(int32_t id, const std::string& name, int32_t year = 2000)
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

// The catalogue and hit lists, the two views kept in step with them, and a
// database stand-in that records what it was asked to write.
struct Lists {
    BookList catalogue;
    BookList hits;
    FakeListView catalogueView;
    FakeListView resultsView;
    FakeBoxes boxes;
    std::vector<SaveMode> saves;
    std::vector<BookFields> saved;
    std::vector<int32_t> removed;
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
    RecordCommandContext Context(int selection, bool fromResults)
    {
        return {selection, fromResults, catalogue, hits, catalogueView, resultsView,
                {[this](SaveMode mode, const BookPtr& book) {
                     saves.push_back(mode);
                     saved.push_back(book->Fields());
                     return writesSucceed;
                 },
                 [this](int32_t id) {
                     removed.push_back(id);
                     return writesSucceed;
                 }}};
    }
    FormOutcome Submit(int selection, bool fromResults = false)
    {
        RecordCommandContext context = Context(selection, fromResults);
        return SubmitBookForm(boxes, context);
    }
    DeleteOutcome Delete(int selection, bool fromResults)
    {
        RecordCommandContext context = Context(selection, fromResults);
        return DeleteRecordAtRow(context);
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
        std::vector<int32_t> ids;
        std::optional<int32_t> next;
    } cases[] = {
        {"empty catalogue", {}, 0},
        {"one record", {0}, 1},
        {"largest not last", {5, 9, 2}, 10},
        {"gaps are not refilled", {0, 7}, 8},
        {"only negative ids", {-3, -1}, 0},
        {"largest but one", {INT_MAX - 1}, INT_MAX},
        {"largest possible", {INT_MAX}, std::nullopt},
        {"largest possible among others", {3, INT_MAX, 4}, std::nullopt},
    };
    for (const auto& c : cases) {
        BookList books;
        for (int32_t id : c.ids) books.push_back(MakeBook(Book(id, "t")));
        EXPECT_EQ(c.next, NextBookId(books)) << c.name;
    }
}

TEST(BookFormSubmit, AddAppendsRecordAndRowWithNextId)
{
    Lists lists;
    lists.AddToCatalogue(Book(4, "a"));
    lists.AddToCatalogue(Book(2, "b"));
    lists.boxes.texts = {{IDC_BOOK_NAME, "  "}, {IDC_AUTHOR, "著者"}, {IDC_PLACE, "棚"},
                         {IDC_PUBLISHER, "表社"}, {IDC_ISBN, "4-00"}, {IDC_PLACE_KANA, "タナ"}};
    lists.boxes.numbers = {{IDC_YEAR, -5}, {IDC_MONTH, 0}};

    ASSERT_EQ(FormOutcome::Saved, lists.Submit(-1));

    EXPECT_EQ(std::vector<SaveMode>{Insert}, lists.saves);
    EXPECT_EQ(5, lists.saved.at(0).ID);
    ASSERT_EQ(3u, lists.catalogue.size());
    const BookFields& added = lists.catalogue[2]->Fields();
    EXPECT_EQ(5, added.ID);
    EXPECT_EQ("  ", added.BookName);
    EXPECT_EQ("タナ", added.PlaceKana);
    EXPECT_EQ("", added.BookNameKana);
    ASSERT_EQ(3, lists.catalogueView.Count());
    EXPECT_EQ(5, lists.catalogueView.ItemData(2));
    EXPECT_EQ((std::vector<std::string>{"  ", "著者", "棚", "-5", "0", "表社", "4-00"}), lists.catalogueView.rows[2].cells);
}

TEST(BookFormSubmit, AddFromResultsStillAppendsToCatalogueView)
{
    Lists lists;
    lists.AddToCatalogue(Book(0, "a"));
    lists.AddToHits(lists.catalogue[0]);
    lists.boxes.texts[IDC_BOOK_NAME] = "new";
    ASSERT_EQ(FormOutcome::Saved, lists.Submit(-1, true));
    EXPECT_EQ(2, lists.catalogueView.Count());
    EXPECT_EQ(1, lists.resultsView.Count());
    EXPECT_EQ(1u, lists.hits.size());
}

TEST(BookFormSubmit, ChangeFromResultsRewritesResultRowAndEveryCatalogueRowWithTheId)
{
    Lists lists;
    lists.AddToCatalogue(Book(1, "a"));
    lists.AddToCatalogue(Book(2, "b"));
    lists.AddToCatalogue(Book(1, "twin"));
    lists.AddToHits(lists.catalogue[1]);
    lists.AddToHits(lists.catalogue[0]);
    lists.boxes.texts[IDC_BOOK_NAME] = "changed";

    ASSERT_EQ(FormOutcome::Saved, lists.Submit(1, true));

    EXPECT_EQ(1, lists.saved.at(0).ID);
    EXPECT_EQ("changed", lists.hits[1]->GetBookName());
    EXPECT_EQ("changed", lists.catalogue[0]->GetBookName());
    EXPECT_EQ("twin", lists.catalogue[2]->GetBookName());
    EXPECT_EQ("changed", lists.resultsView.rows[1].cells[0]);
    EXPECT_EQ("b", lists.resultsView.rows[0].cells[0]);
    EXPECT_EQ("changed", lists.catalogueView.rows[0].cells[0]);
    EXPECT_EQ("b", lists.catalogueView.rows[1].cells[0]);
    EXPECT_EQ("changed", lists.catalogueView.rows[2].cells[0]);
}

TEST(BookFormSubmit, RowWithoutItsRecordSavesNothing)
{
    const struct {
        const char* name;
        int selection;
        bool fromResults;
    } cases[] = {
        {"row beyond the view", 2, false},
        {"id not in the hit list", 1, true},
        {"hit deleted from the catalogue since", 2, true},
    };
    for (const auto& c : cases) {
        Lists lists;
        lists.AddToCatalogue(Book(0, "a"));
        lists.AddToCatalogue(Book(1, "b"));
        lists.AddToHits(lists.catalogue[0]);
        lists.resultsView.Append(BookData(Book(5, "gone")));
        lists.AddToHits(MakeBook(Book(1, "deleted, its ID taken by b")));
        lists.boxes.texts[IDC_BOOK_NAME] = "changed";

        EXPECT_EQ(FormOutcome::RecordMissing, lists.Submit(c.selection, c.fromResults)) << c.name;
        EXPECT_TRUE(lists.saves.empty()) << c.name;
        EXPECT_EQ("a", lists.catalogue[0]->GetBookName()) << c.name;
        EXPECT_EQ("b", lists.catalogue[1]->GetBookName()) << c.name;
        EXPECT_EQ("a", lists.resultsView.rows[0].cells[0]) << c.name;
    }
}

TEST(BookFormValues, LongTextsAreCutOnACharacterBoundary)
{
    std::string kanji;
    for (int i = 0; i < 150; ++i) kanji += "表";
    const struct {
        const char* name;
        std::string typed;
        std::string stored;
    } cases[] = {
        {"255 bytes kept", std::string(255, 'a'), std::string(255, 'a')},
        {"300 ascii bytes", std::string(300, 'a'), std::string(255, 'a')},
        {"cut would split a character", kanji, kanji.substr(0, 254)},
        {"cut falls between characters", "a" + kanji, "a" + kanji.substr(0, 254)},
    };
    for (const auto& c : cases) {
        FakeBoxes boxes;
        for (int box : {IDC_BOOK_NAME, IDC_BOOK_NAME_KANA, IDC_AUTHOR, IDC_AUTHOR_KANA, IDC_PUBLISHER,
                        IDC_PUBLISHER_KANA, IDC_PLACE, IDC_PLACE_KANA, IDC_ISBN})
            boxes.texts[box] = c.typed;
        BookFields f = ReadFormValues(boxes);
        for (const std::string* field : {&f.BookName, &f.BookNameKana, &f.Author, &f.AuthorKana, &f.Publisher,
                                         &f.PublisherKana, &f.Place, &f.PlaceKana, &f.ISBN})
            EXPECT_EQ(c.stored, *field) << c.name;
    }
}

// A text longer than the boxes' limit, written by another program: saved
// whole while its box still holds it, cut like any typed text once changed.
TEST(BookFormSubmit, UnchangedLongTextsAreSavedWhole)
{
    std::string place;
    for (int i = 0; i < 150; ++i) place += "表";  // 300 bytes
    const struct {
        const char* name;
        std::string placeBox;
        std::string savedPlace;
    } cases[] = {
        {"untouched", place, place},
        {"changed", place + "x", place.substr(0, 254)},
        {"cleared", "", ""},
    };
    for (const auto& c : cases) {
        Lists lists;
        BookFields book = Book(4, std::string(300, 't'));
        book.Place = place;
        lists.AddToCatalogue(book);
        InitialiseBookForm(lists.boxes, lists.Context(0, false));
        lists.boxes.texts[IDC_PLACE] = c.placeBox;
        ASSERT_EQ(FormOutcome::Saved, lists.Submit(0)) << c.name;
        EXPECT_EQ(c.savedPlace, lists.saved.at(0).Place) << c.name;
        EXPECT_EQ(std::string(300, 't'), lists.saved.at(0).BookName) << c.name;
        EXPECT_EQ(c.savedPlace, lists.catalogue[0]->GetPlace()) << c.name;
    }
}

TEST(BookFormInitialise, LeavesBoxesEmptyWithoutARecord)
{
    Lists lists;
    lists.AddToCatalogue(Book(4, "a"));
    lists.catalogueView.Append(BookData(Book(6, "orphan")));
    for (int selection : {-1, 1, 2}) {
        FakeBoxes boxes;
        InitialiseBookForm(boxes, lists.Context(selection, false));
        EXPECT_TRUE(boxes.texts.empty()) << selection;
    }
}

// Catalogue 3, 7, 12 and a second 7 behind them; hits 12 and 7.
Lists ListsToDeleteFrom()
{
    Lists lists;
    for (int32_t id : {3, 7, 12}) lists.AddToCatalogue(Book(id, "book " + std::to_string(id)));
    lists.AddToCatalogue(Book(7, "twin"));
    lists.AddToHits(lists.catalogue[2]);
    lists.AddToHits(lists.catalogue[1]);
    return lists;
}

TEST(DeleteRecord, FromTheCatalogueRemovesTheFirstRecordWithTheIdAndTheRow)
{
    Lists lists = ListsToDeleteFrom();
    BookPtr deleted = lists.catalogue[1];
    const DeleteOutcome outcome = lists.Delete(1, false);
    EXPECT_TRUE(outcome.deleted);
    EXPECT_EQ(1, outcome.cataloguePosition);
    EXPECT_EQ(std::vector<int32_t>{7}, lists.removed);
    EXPECT_EQ((std::vector<int32_t>{3, 12, 7}), Lists::Ids(lists.catalogue));
    EXPECT_EQ((std::vector<int32_t>{3, 12, 7}), lists.catalogueView.ItemDataOfAll());
    EXPECT_EQ("twin", lists.catalogue[2]->GetBookName());
    EXPECT_EQ((std::vector<int32_t>{12, 7}), Lists::Ids(lists.hits));
}

TEST(DeleteRecord, FromTheCatalogueARowWithoutRecordStillGoes)
{
    Lists lists = ListsToDeleteFrom();
    lists.catalogueView.Append(BookData(Book(99, "orphan")));
    const DeleteOutcome outcome = lists.Delete(4, false);
    EXPECT_TRUE(outcome.deleted);
    EXPECT_EQ(-1, outcome.cataloguePosition);
    EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 7}), Lists::Ids(lists.catalogue));
    EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 7}), lists.catalogueView.ItemDataOfAll());
}

TEST(DeleteRecord, FromTheResultsRemovesTheHitItsRowTheRecordAndItsCatalogueRow)
{
    Lists lists = ListsToDeleteFrom();
    const DeleteOutcome outcome = lists.Delete(1, true);
    EXPECT_TRUE(outcome.deleted);
    EXPECT_EQ(1, outcome.cataloguePosition);
    EXPECT_EQ(std::vector<int32_t>{7}, lists.removed);
    EXPECT_EQ(std::vector<int32_t>{12}, Lists::Ids(lists.hits));
    EXPECT_EQ(std::vector<int32_t>{12}, lists.resultsView.ItemDataOfAll());
    EXPECT_EQ((std::vector<int32_t>{3, 12, 7}), Lists::Ids(lists.catalogue));
    EXPECT_EQ((std::vector<int32_t>{3, 12, 7}), lists.catalogueView.ItemDataOfAll());
}

// From the results, only a record the hit list and the catalogue list
// both still hold is deleted: a hit deleted from the catalogue since the
// search (its ID now carried by another record), or a row whose ID the hit
// list no longer holds, runs no statement and changes nothing.
TEST(DeleteRecord, FromTheResultsOnlyARecordStillInTheCatalogue)
{
    for (int row : {2, 0}) {
        Lists lists = ListsToDeleteFrom();
        lists.AddToHits(MakeBook(Book(3, "deleted since")));
        lists.hits.erase(lists.hits.begin());  // hit 12 gone, its row kept
        EXPECT_FALSE(lists.Delete(row, true).deleted) << row;
        EXPECT_TRUE(lists.removed.empty()) << row;
        EXPECT_EQ((std::vector<int32_t>{12, 7, 3}), lists.resultsView.ItemDataOfAll()) << row;
        EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 7}), lists.catalogueView.ItemDataOfAll()) << row;
        EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 7}), Lists::Ids(lists.catalogue)) << row;
    }
}

TEST(DeleteRecord, RefusedByTheDatabaseChangesNothing)
{
    for (bool fromResults : {false, true}) {
        Lists lists = ListsToDeleteFrom();
        lists.writesSucceed = false;
        EXPECT_FALSE(lists.Delete(1, fromResults).deleted) << fromResults;
        EXPECT_EQ(std::vector<int32_t>{7}, lists.removed) << fromResults;
        EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 7}), lists.catalogueView.ItemDataOfAll()) << fromResults;
        EXPECT_EQ((std::vector<int32_t>{3, 7, 12, 7}), Lists::Ids(lists.catalogue)) << fromResults;
        EXPECT_EQ((std::vector<int32_t>{12, 7}), lists.resultsView.ItemDataOfAll()) << fromResults;
        EXPECT_EQ((std::vector<int32_t>{12, 7}), Lists::Ids(lists.hits)) << fromResults;
    }
}

}  // namespace
