#include <climits>
#include <map>
#include <string>
#include <vector>
#include "dialogs/BookFormLogic.h"
#include "resources/resource.h"
#include "support/GTestWin32.h"

namespace {

struct FakeRow {
    std::vector<std::string> cells;
    int32_t itemData;
};

class FakeListView : public ListViewRows {
public:
    int Count() const override { return static_cast<int>(rows.size()); }
    int32_t ItemData(int row) const override { return rows.at(row).itemData; }
    bool IsSelected(int) const override { return false; }
    void InsertRow(int row, const std::string& text, int32_t itemData) override
    {
        FakeRow added{std::vector<std::string>(7), itemData};
        added.cells[0] = text;
        rows.insert(rows.begin() + row, added);
    }
    void SetCellText(int row, int subitem, const std::string& text) override
    {
        rows.at(row).cells.at(subitem) = text;
    }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }

    std::vector<FakeRow> rows;
};

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

struct SaveCall {
    SaveMode mode;
    BookFields fields;
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

std::vector<std::string> Cells(const BookFields& f)
{
    return {f.BookName, f.Author, f.Place, std::to_string(f.Year), std::to_string(f.Month), f.Publisher, f.ISBN};
}

// The catalogue and hit lists, the two views kept in step with them, and a
// database stand-in that records what it was asked to save.
struct Form {
    BookList catalogue;
    BookList hits;
    FakeListView catalogueView;
    FakeListView resultsView;
    FakeBoxes boxes;
    std::vector<SaveCall> saves;
    bool saveSucceeds = true;

    void AddToCatalogue(const BookFields& f)
    {
        catalogue.push_back(MakeBook(f));
        catalogueView.rows.push_back({Cells(f), f.ID});
    }
    void AddToHits(const BookPtr& book)
    {
        hits.push_back(book);
        resultsView.rows.push_back({Cells(book->Fields()), book->GetID()});
    }
    BookFormContext Context(int selection, bool fromResults)
    {
        return {selection, fromResults, catalogue, hits, catalogueView, resultsView,
                [this](SaveMode mode, std::shared_ptr<BookData> book) {
                    saves.push_back({mode, book->Fields()});
                    return saveSucceeds;
                }};
    }
    FormOutcome Submit(int selection, bool fromResults = false)
    {
        BookFormContext context = Context(selection, fromResults);
        return SubmitBookForm(boxes, context);
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

TEST(BookFormSubmit, EmptyTitleSavesNothing)
{
    Form form;
    form.AddToCatalogue(Book(0, "a"));
    form.boxes.texts[IDC_AUTHOR] = "someone";
    EXPECT_EQ(FormOutcome::TitleMissing, form.Submit(-1));
    EXPECT_EQ(FormOutcome::TitleMissing, form.Submit(0));
    EXPECT_TRUE(form.saves.empty());
    EXPECT_EQ(1u, form.catalogue.size());
    EXPECT_EQ(1, form.catalogueView.Count());
    EXPECT_EQ("a", form.catalogue[0]->GetBookName());
}

TEST(BookFormSubmit, AddAppendsRecordAndRowWithNextId)
{
    Form form;
    form.AddToCatalogue(Book(4, "a"));
    form.AddToCatalogue(Book(2, "b"));
    form.boxes.texts = {{IDC_BOOK_NAME, "  "}, {IDC_AUTHOR, "著者"}, {IDC_PLACE, "棚"},
                        {IDC_PUBLISHER, "表社"}, {IDC_ISBN, "4-00"}, {IDC_PLACE_KANA, "タナ"}};
    form.boxes.numbers = {{IDC_YEAR, -5}, {IDC_MONTH, 0}};

    ASSERT_EQ(FormOutcome::Saved, form.Submit(-1));

    ASSERT_EQ(1u, form.saves.size());
    EXPECT_EQ(Insert, form.saves[0].mode);
    EXPECT_EQ(5, form.saves[0].fields.ID);
    ASSERT_EQ(3u, form.catalogue.size());
    const BookFields& added = form.catalogue[2]->Fields();
    EXPECT_EQ(5, added.ID);
    EXPECT_EQ("  ", added.BookName);
    EXPECT_EQ("タナ", added.PlaceKana);
    EXPECT_EQ("", added.BookNameKana);
    ASSERT_EQ(3, form.catalogueView.Count());
    EXPECT_EQ(5, form.catalogueView.ItemData(2));
    EXPECT_EQ((std::vector<std::string>{"  ", "著者", "棚", "-5", "0", "表社", "4-00"}),
              form.catalogueView.rows[2].cells);
}

TEST(BookFormSubmit, AddFromResultsStillAppendsToCatalogueView)
{
    Form form;
    form.AddToCatalogue(Book(0, "a"));
    form.AddToHits(form.catalogue[0]);
    form.boxes.texts[IDC_BOOK_NAME] = "new";
    ASSERT_EQ(FormOutcome::Saved, form.Submit(-1, true));
    EXPECT_EQ(2, form.catalogueView.Count());
    EXPECT_EQ(1, form.resultsView.Count());
    EXPECT_EQ(1u, form.hits.size());
}

TEST(BookFormSubmit, RefusedAddChangesNothing)
{
    const struct {
        const char* name;
        int32_t largestId;
        bool saveSucceeds;
        FormOutcome outcome;
        size_t saves;
    } cases[] = {
        {"database refuses", 3, false, FormOutcome::SaveFailed, 1},
        {"no identifier left", INT_MAX, true, FormOutcome::NoFreeId, 0},
    };
    for (const auto& c : cases) {
        Form form;
        form.AddToCatalogue(Book(c.largestId, "a"));
        form.saveSucceeds = c.saveSucceeds;
        form.boxes.texts[IDC_BOOK_NAME] = "new";
        EXPECT_EQ(c.outcome, form.Submit(-1)) << c.name;
        EXPECT_EQ(c.saves, form.saves.size()) << c.name;
        EXPECT_EQ(1u, form.catalogue.size()) << c.name;
        EXPECT_EQ(1, form.catalogueView.Count()) << c.name;
    }
}

TEST(BookFormSubmit, ChangeAssignsSharedRecordInPlaceAndRewritesItsRow)
{
    Form form;
    form.AddToCatalogue(Book(7, "a"));
    form.AddToCatalogue(Book(3, "b"));
    form.AddToCatalogue(Book(9, "c"));
    BookPtr secondReference = form.catalogue[1];
    form.boxes.texts = {{IDC_BOOK_NAME, "新題"}, {IDC_ISBN, "X"}};
    form.boxes.numbers = {{IDC_YEAR, 1999}, {IDC_MONTH, 12}};

    ASSERT_EQ(FormOutcome::Saved, form.Submit(1));

    ASSERT_EQ(1u, form.saves.size());
    EXPECT_EQ(Update, form.saves[0].mode);
    EXPECT_EQ(3, form.saves[0].fields.ID);
    EXPECT_EQ(secondReference, form.catalogue[1]);
    EXPECT_EQ("新題", secondReference->GetBookName());
    EXPECT_EQ("", secondReference->GetAuthor());
    EXPECT_EQ(3, secondReference->GetID());
    EXPECT_EQ((std::vector<std::string>{"新題", "", "", "1999", "12", "", "X"}), form.catalogueView.rows[1].cells);
    EXPECT_EQ(Cells(Book(7, "a")), form.catalogueView.rows[0].cells);
    EXPECT_EQ(Cells(Book(9, "c")), form.catalogueView.rows[2].cells);
    EXPECT_EQ(3u, form.catalogue.size());
}

TEST(BookFormSubmit, ChangeFromResultsRewritesResultRowAndEveryCatalogueRowWithTheId)
{
    Form form;
    form.AddToCatalogue(Book(1, "a"));
    form.AddToCatalogue(Book(2, "b"));
    form.AddToCatalogue(Book(1, "twin"));
    form.AddToHits(form.catalogue[1]);
    form.AddToHits(form.catalogue[0]);
    form.boxes.texts[IDC_BOOK_NAME] = "changed";

    ASSERT_EQ(FormOutcome::Saved, form.Submit(1, true));

    ASSERT_EQ(1u, form.saves.size());
    EXPECT_EQ(1, form.saves[0].fields.ID);
    EXPECT_EQ("changed", form.hits[1]->GetBookName());
    EXPECT_EQ("changed", form.catalogue[0]->GetBookName());
    EXPECT_EQ("twin", form.catalogue[2]->GetBookName());
    EXPECT_EQ("changed", form.resultsView.rows[1].cells[0]);
    EXPECT_EQ("b", form.resultsView.rows[0].cells[0]);
    EXPECT_EQ("changed", form.catalogueView.rows[0].cells[0]);
    EXPECT_EQ("b", form.catalogueView.rows[1].cells[0]);
    EXPECT_EQ("changed", form.catalogueView.rows[2].cells[0]);
}

TEST(BookFormSubmit, RefusedChangeLeavesRecordAndRows)
{
    const struct {
        const char* name;
        int selection;
        bool fromResults;
        bool saveSucceeds;
        FormOutcome outcome;
    } cases[] = {
        {"database refuses", 0, false, false, FormOutcome::SaveFailed},
        {"database refuses from results", 0, true, false, FormOutcome::SaveFailed},
        {"row beyond the view", 2, false, true, FormOutcome::RecordMissing},
        {"id not in the hit list", 1, true, true, FormOutcome::RecordMissing},
    };
    for (const auto& c : cases) {
        Form form;
        form.AddToCatalogue(Book(0, "a"));
        form.AddToCatalogue(Book(1, "b"));
        form.AddToHits(form.catalogue[0]);
        form.resultsView.rows.push_back({Cells(Book(5, "gone")), 5});
        form.saveSucceeds = c.saveSucceeds;
        form.boxes.texts[IDC_BOOK_NAME] = "changed";

        EXPECT_EQ(c.outcome, form.Submit(c.selection, c.fromResults)) << c.name;
        EXPECT_EQ("a", form.catalogue[0]->GetBookName()) << c.name;
        EXPECT_EQ("b", form.catalogue[1]->GetBookName()) << c.name;
        EXPECT_EQ("a", form.catalogueView.rows[0].cells[0]) << c.name;
        EXPECT_EQ("a", form.resultsView.rows[0].cells[0]) << c.name;
        if (c.outcome == FormOutcome::RecordMissing) EXPECT_TRUE(form.saves.empty()) << c.name;
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

TEST(BookFormInitialise, FillsBoxesFromTheRecordBehindTheRow)
{
    Form form;
    form.AddToCatalogue(Book(4, "a", 0));
    form.AddToCatalogue(Book(8, "b", -5));
    form.AddToHits(form.catalogue[0]);

    InitialiseBookForm(form.boxes, form.Context(1, false));
    EXPECT_EQ("b", form.boxes.texts[IDC_BOOK_NAME]);
    EXPECT_EQ("b author", form.boxes.texts[IDC_AUTHOR]);
    EXPECT_EQ("-5", form.boxes.texts[IDC_YEAR]);
    EXPECT_EQ("4", form.boxes.texts[IDC_MONTH]);
    EXPECT_EQ("", form.boxes.texts[IDC_PLACE_KANA]);
    EXPECT_EQ(11u, form.boxes.texts.size());

    FakeBoxes fromResults;
    InitialiseBookForm(fromResults, form.Context(0, true));
    EXPECT_EQ("a", fromResults.texts[IDC_BOOK_NAME]);
    EXPECT_EQ("0", fromResults.texts[IDC_YEAR]);
}

TEST(BookFormInitialise, LeavesBoxesEmptyWithoutARecord)
{
    Form form;
    form.AddToCatalogue(Book(4, "a"));
    form.catalogueView.rows.push_back({Cells(Book(6, "orphan")), 6});
    for (int selection : {-1, 1, 2}) {
        FakeBoxes boxes;
        InitialiseBookForm(boxes, form.Context(selection, false));
        EXPECT_TRUE(boxes.texts.empty()) << selection;
    }
}

}  // namespace
