#include "StoreTestSupport.h"

#include <climits>
#include <optional>

#include "store/RecordStatements.h"
#include "store/SqliteHandles.h"

namespace {

// The record of the statement examples: title T, author A, 2014/5, place P,
// ISBN I, ID 7, every other text empty.
BookData ExampleBook()
{
    BookFields f;
    f.BookName = "T";
    f.Author = "A";
    f.Year = 2014;
    f.Month = 5;
    f.Place = "P";
    f.ISBN = "I";
    f.ID = 7;
    return BookData(f);
}

TEST(RecordStatements, InsertAndUpdateOfTheExample)
{
    EXPECT_EQ("INSERT INTO 'Tomebox' VALUES ('T', NULL, 'A', NULL, 2014, 5, NULL, NULL, 'P', NULL, 'I', 7);",
              BuildInsertStatement(ExampleBook()));
    EXPECT_EQ("UPDATE 'Tomebox' SET BookName = 'T', BookNameKana = NULL, Author = 'A', AuthorKana = NULL, "
              "Year = 2014, Month = 5, Publisher = NULL, PublisherKana = NULL, Place = 'P', "
              "PlaceKana = NULL, ISBN = 'I', ID = 7 WHERE ID = 7;",
              BuildUpdateStatement(ExampleBook()));
}

TEST(RecordStatements, EveryTextFilledAndConverted)
{
    BookFields f = MakeFields("吾輩は猫である", 12);
    EXPECT_EQ(u8"INSERT INTO 'Tomebox' VALUES ('吾輩は猫である', 'ショメイ', '夏目漱石', 'ナツメソウセキ', "
              u8"1906, 4, '岩波書店', 'イワナミショテン', '本棚1', 'ホンダナ', '9784003101018', 12);",
              BuildInsertStatement(BookData(f)));
    EXPECT_EQ(u8"UPDATE 'Tomebox' SET BookName = '吾輩は猫である', BookNameKana = 'ショメイ', "
              u8"Author = '夏目漱石', AuthorKana = 'ナツメソウセキ', Year = 1906, Month = 4, "
              u8"Publisher = '岩波書店', PublisherKana = 'イワナミショテン', Place = '本棚1', "
              u8"PlaceKana = 'ホンダナ', ISBN = '9784003101018', ID = 12 WHERE ID = 12;",
              BuildUpdateStatement(BookData(f)));
}

TEST(RecordStatements, EmptyBookNameAndNumbers)
{
    BookFields f;
    f.Year = -660;
    f.Month = 0;
    f.ID = 0;
    EXPECT_EQ("INSERT INTO 'Tomebox' VALUES ('', NULL, NULL, NULL, -660, 0, NULL, NULL, NULL, NULL, NULL, 0);",
              BuildInsertStatement(BookData(f)));
    EXPECT_EQ("UPDATE 'Tomebox' SET BookName = '', BookNameKana = NULL, Author = NULL, AuthorKana = NULL, "
              "Year = -660, Month = 0, Publisher = NULL, PublisherKana = NULL, Place = NULL, "
              "PlaceKana = NULL, ISBN = NULL, ID = 0 WHERE ID = 0;",
              BuildUpdateStatement(BookData(f)));
}

TEST(RecordStatements, QuotesAreDoubledBeforeConversion)
{
    const struct {
        std::string text, escaped;
    } cases[] = {
        {"", ""},
        {"'", "''"},
        {"''", "''''"},
        {"O'Brien", "O''Brien"},
        {"'a'b'", "''a''b''"},
        {"表示'ソ", "表示''ソ"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.escaped, EscapeQuotes(c.text)) << c.text;

    BookFields f;
    f.BookName = "O'Brien";
    f.Author = "''";
    f.ISBN = "表示'";
    f.ID = 1;
    const std::string insert = BuildInsertStatement(BookData(f));
    EXPECT_EQ(u8"INSERT INTO 'Tomebox' VALUES ('O''Brien', NULL, '''''', NULL, 0, 0, NULL, NULL, NULL, NULL, "
              u8"'表示''', 1);",
              insert);
    EXPECT_NE(std::string::npos, BuildUpdateStatement(BookData(f)).find("BookName = 'O''Brien', "));
}

TEST(RecordStatements, DeleteStatement)
{
    EXPECT_EQ("DELETE FROM 'Tomebox' WHERE ID = 7", BuildDeleteStatement(7));
    EXPECT_EQ("DELETE FROM 'Tomebox' WHERE ID = -2147483648", BuildDeleteStatement(INT32_MIN));
}

TEST(RecordStatements, InsertCanNameItsColumns)
{
    EXPECT_EQ("INSERT INTO 'Tomebox' (BookName, BookNameKana, Author, AuthorKana, Year, Month, Publisher, "
              "PublisherKana, Place, PlaceKana, ISBN, ID) VALUES ('T', NULL, 'A', NULL, 2014, 5, NULL, NULL, "
              "'P', NULL, 'I', 7);",
              BuildInsertStatement(ExampleBook(), true));
}

// The statements against a real file, on the catalogue connection.
class SavedRecords : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_EQ(SQLITE_OK, catalogue_.db.Open("Tomebox.sqlite"));
        RawDb raw;
        CreateCatalogueTable(raw);
    }
};

BookPtr Book(BookFields fields)
{
    return MakeBook(std::move(fields));
}

TEST_F(SavedRecords, RoundTripThroughTheFile)
{
    BookFields quoted = MakeFields("O'Brien の''本", 0);
    BookFields sparse;
    sparse.BookName = "表示";
    sparse.Year = -5;
    sparse.ID = 1;
    BookFields longest = MakeFields(std::string(255, 'x'), 2147483647);
    longest.Publisher = "ｱｲｳｴｵ";  // half-width kana
    // As another program may store them: a NUL inside, bytes that are no UTF-8.
    BookFields foreign = MakeFields(std::string("a\0b'c", 5), 3);
    foreign.Author = "Zo\xEB";
    for (const BookFields& f : {quoted, sparse, longest, foreign})
        ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(f)));

    RawDb raw;
    auto rows = TableRows(raw);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(std::string("a\0b'c", 5), rows[2][0]);
    EXPECT_EQ("Zo\xEB", rows[2][2]);
    EXPECT_EQ(u8"O'Brien の''本", rows[0][0]);
    EXPECT_EQ(u8"表示", rows[1][0]);
    for (int column : {1, 2, 3, 6, 7, 8, 9, 10}) EXPECT_EQ(kNull, rows[1][column]) << column;
    EXPECT_EQ("-5", rows[1][4]);
    EXPECT_EQ("0", rows[1][5]);
    EXPECT_EQ(u8"ｱｲｳｴｵ", rows[3][6]);

    ASSERT_TRUE(LoadCatalogue(catalogue_));
    ASSERT_EQ(4u, catalogue_.books.size());
    EXPECT_EQ(Describe(BookData(quoted)), Describe(*catalogue_.books[0]));
    EXPECT_EQ(Describe(BookData(sparse)), Describe(*catalogue_.books[1]));
    EXPECT_EQ(Describe(BookData(foreign)), Describe(*catalogue_.books[2]));
    EXPECT_EQ(Describe(BookData(longest)), Describe(*catalogue_.books[3]));
}

TEST_F(SavedRecords, EmptyBookNameIsStoredAsEmptyText)
{
    BookFields f;
    f.ID = 0;
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(f)));
    RawDb raw;
    EXPECT_EQ("text", raw.Rows("SELECT typeof(BookName) FROM Tomebox")[0][0]);
}

TEST_F(SavedRecords, UpdateRewritesEveryColumn)
{
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("こころ", 4))));
    BookFields changed;
    changed.BookName = "こゝろ";
    changed.Author = "漱石";
    changed.Year = 1914;
    changed.ID = 4;
    ASSERT_TRUE(SaveBookData(catalogue_, Update, Book(changed)));
    RawDb raw;
    EXPECT_EQ((std::vector<std::vector<std::string>>{{u8"こゝろ", kNull, u8"漱石", kNull, "1914", "0", kNull,
                                                       kNull, kNull, kNull, kNull, "4"}}),
              TableRows(raw));
}

// Nothing saved: the record is gone from the table (another program
// deleted it, say).
TEST_F(SavedRecords, UpdateOfAMissingIdFailsAndChangesNothing)
{
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("こころ", 4))));
    RawDb raw;
    const auto before = TableRows(raw);
    EXPECT_FALSE(SaveBookData(catalogue_, Update, Book(MakeFields("門", 5))));
    EXPECT_EQ(before, TableRows(raw));
}

TEST_F(SavedRecords, InsertOfAnExistingIdFails)
{
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("こころ", 4))));
    EXPECT_FALSE(SaveBookData(catalogue_, Insert, Book(MakeFields("門", 4))));
    RawDb raw;
    ASSERT_EQ(1u, TableRows(raw).size());
    EXPECT_EQ(u8"こころ", TableRows(raw)[0][0]);
}

TEST_F(SavedRecords, UnknownModeRunsNothing)
{
    for (int mode : {2, -1, 255}) EXPECT_FALSE(SaveBookData(catalogue_, static_cast<SaveMode>(mode), Book(MakeFields("x", mode))));
    RawDb raw;
    EXPECT_TRUE(TableRows(raw).empty());
}

// A missing ID is a book already gone: the delete has nothing left to do.
TEST_F(SavedRecords, DeleteRemovesOneRowAndTakesMissingIdsAsDeleted)
{
    for (int id : {0, 1, 2}) ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("本", id))));
    EXPECT_TRUE(DeleteBookData(catalogue_, 1));
    EXPECT_TRUE(DeleteBookData(catalogue_, 1));
    EXPECT_TRUE(DeleteBookData(catalogue_, 99));
    RawDb raw;
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"0"}, {"2"}}), raw.Rows("SELECT ID FROM Tomebox ORDER BY ID"));
}

// Another program may give IDs beyond 32 bits: 2^32 + 3 is a book of its
// own beside the book with ID 3, loaded, changed and deleted alone.
TEST_F(SavedRecords, IdsBeyond32BitsNameTheirOwnRows)
{
    RawDb raw;
    raw.Exec("INSERT INTO Tomebox (BookName, ID) VALUES ('three', 3), ('beyond', 4294967299)");
    ASSERT_TRUE(LoadCatalogue(catalogue_));
    const BookPtr beyond = FindBookById(catalogue_.books, (BookId{1} << 32) + 3);
    ASSERT_TRUE(beyond);
    BookFields changed = beyond->Fields();
    changed.Author = "changed";
    ASSERT_TRUE(SaveBookData(catalogue_, Update, Book(changed)));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"3", kNull}, {"4294967299", "changed"}}),
              raw.Rows("SELECT ID, Author FROM Tomebox ORDER BY ID"));
    ASSERT_TRUE(DeleteBookData(catalogue_, beyond->GetID()));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"3", kNull}}), raw.Rows("SELECT ID, Author FROM Tomebox"));
}

TEST_F(SavedRecords, LoadAppendsAfterExistingRecords)
{
    ASSERT_TRUE(LoadCatalogue(catalogue_));
    EXPECT_TRUE(catalogue_.books.empty());

    for (int id : {3, 1, 2}) ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("本" + std::to_string(id), id))));
    catalogue_.books.push_back(MakeBook(MakeFields("既存", 100)));
    ASSERT_TRUE(LoadCatalogue(catalogue_));
    ASSERT_EQ(4u, catalogue_.books.size());
    EXPECT_EQ(100, catalogue_.books[0]->GetID());
    EXPECT_EQ(1, catalogue_.books[1]->GetID());
    EXPECT_EQ(2, catalogue_.books[2]->GetID());
    EXPECT_EQ("本3", catalogue_.books[3]->GetBookName());
}

TEST_F(SavedRecords, NullsLoadAsEmptyTextAndZero)
{
    RawDb raw;
    raw.Exec("INSERT INTO Tomebox (BookName, ID) VALUES ('x', 9)");
    ASSERT_TRUE(LoadCatalogue(catalogue_));
    ASSERT_EQ(1u, catalogue_.books.size());
    EXPECT_EQ((std::vector<std::string>{"x", "", "", "", "0", "0", "", "", "", "", "", "9"}),
              Describe(*catalogue_.books[0]));
}

TEST_F(SavedRecords, LoadWithoutTheTableFailsAndAppendsNothing)
{
    RawDb raw;
    raw.Exec("DROP TABLE Tomebox");
    EXPECT_FALSE(LoadCatalogue(catalogue_));
    EXPECT_TRUE(catalogue_.books.empty());
}

// Another connection in the middle of a write: every statement is refused
// and the table stays as it was.
TEST_F(SavedRecords, WritesRefusedWhileAnotherConnectionLocks)
{
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("こころ", 4))));
    RawDb other;
    const auto before = TableRows(other);
    other.Exec("BEGIN EXCLUSIVE");
    EXPECT_FALSE(SaveBookData(catalogue_, Insert, Book(MakeFields("門", 5))));
    EXPECT_FALSE(SaveBookData(catalogue_, Update, Book(MakeFields("門", 4))));
    EXPECT_FALSE(DeleteBookData(catalogue_, 4));
    EXPECT_FALSE(LoadCatalogue(catalogue_));
    EXPECT_TRUE(catalogue_.books.empty());
    other.Exec("COMMIT");
    EXPECT_EQ(before, TableRows(other));
}

TEST_F(SavedRecords, WritesRefusedOnAReadOnlyConnection)
{
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("こころ", 4))));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(catalogue_.db.get(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr));
    EXPECT_FALSE(SaveBookData(catalogue_, Insert, Book(MakeFields("門", 5))));
    EXPECT_FALSE(SaveBookData(catalogue_, Update, Book(MakeFields("門", 4))));
    EXPECT_FALSE(DeleteBookData(catalogue_, 4));
    RawDb raw;
    ASSERT_EQ(1u, TableRows(raw).size());
    EXPECT_EQ(u8"こころ", TableRows(raw)[0][0]);
}

TEST_F(SavedRecords, WritesRefusedOnAReadOnlyFile)
{
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, Book(MakeFields("こころ", 4))));
    // As root, file permissions do not stop a write; SQLite's read-only
    // open does.
    ASSERT_EQ(SQLITE_OK, catalogue_.db.Open("file:Tomebox.sqlite?mode=ro"));
    EXPECT_FALSE(SaveBookData(catalogue_, Insert, Book(MakeFields("門", 5))));
    EXPECT_FALSE(SaveBookData(catalogue_, Update, Book(MakeFields("門", 4))));
    EXPECT_FALSE(DeleteBookData(catalogue_, 4));
    EXPECT_TRUE(LoadCatalogue(catalogue_));
    ASSERT_EQ(1u, catalogue_.books.size());
    RawDb raw;
    ASSERT_EQ(1u, TableRows(raw).size());
    EXPECT_EQ(u8"こころ", TableRows(raw)[0][0]);
}

TEST_F(SavedRecords, NothingRunsWithoutAConnection)
{
    catalogue_.db.Close();
    EXPECT_FALSE(SaveBookData(catalogue_, Insert, Book(MakeFields("門", 5))));
    EXPECT_FALSE(DeleteBookData(catalogue_, 5));
    EXPECT_FALSE(LoadCatalogue(catalogue_));
}

// Every column with its type: quote() writes NULL, 'text' and bare numbers.
std::vector<std::vector<std::string>> QuotedRows(RawDb& raw)
{
    return raw.Rows("SELECT quote(BookName), quote(BookNameKana), quote(Author), quote(AuthorKana), quote(Year), "
                    "quote(Month), quote(Publisher), quote(PublisherKana), quote(Place), quote(PlaceKana), "
                    "quote(ISBN), quote(ID) FROM Tomebox ORDER BY ID");
}

TEST_F(SavedRecords, ManyInOneTransactionWrittenAsSaveBookDataWritesThem)
{
    BookFields sparse{"", "", "", "", -5};
    sparse.ID = 2;
    BookFields foreign = MakeFields(std::string("a\0b'c", 5), 3);
    foreign.Author = "Zo\xEB";
    const BookList added = Records({MakeFields("吾輩は猫である", 1), sparse, foreign});

    // The program's table, and one with its columns in another order among further ones.
    for (const char* table : {kCreateTableStatement,
                              "CREATE TABLE Tomebox (Extra TEXT, ID INTEGER PRIMARY KEY, ISBN TEXT, PlaceKana TEXT, "
                              "Place TEXT, PublisherKana TEXT, Publisher TEXT, Month INTEGER, Year INTEGER, "
                              "AuthorKana TEXT, Author TEXT, BookNameKana TEXT, BookName TEXT NOT NULL)"}) {
        RawDb raw;
        raw.Exec(std::string("DROP TABLE Tomebox;") + table);
        ASSERT_TRUE(InsertBooks(catalogue_, added)) << table;
        const auto inserted = QuotedRows(raw);
        raw.Exec("DELETE FROM Tomebox");
        catalogue_.insertNamesColumns = table != kCreateTableStatement;
        for (const BookPtr& book : added) ASSERT_TRUE(SaveBookData(catalogue_, Insert, book));
        EXPECT_EQ(QuotedRows(raw), inserted) << table;
    }
}

TEST_F(SavedRecords, AFailureOnAnyOfManyAddsNone)
{
    const struct {
        const char* name;
        const char* setUp;  // on the table, before the insert
        const char* lock;   // on another connection, held during the insert
    } cases[] = {
        {"a trigger aborts the third", "CREATE TRIGGER t BEFORE INSERT ON Tomebox WHEN NEW.ID = 3 "
                                       "BEGIN SELECT RAISE(ABORT, 'no'); END", nullptr},
        {"a trigger rolls back", "CREATE TRIGGER t BEFORE INSERT ON Tomebox WHEN NEW.ID = 4 "
                                 "BEGIN SELECT RAISE(ROLLBACK, 'no'); END", nullptr},
        {"an ID taken", "INSERT INTO Tomebox (BookName, ID) VALUES ('taken', 5)", nullptr},
        {"another program writes", nullptr, "BEGIN EXCLUSIVE"},
        {"another program reads", nullptr, "BEGIN; SELECT count(*) FROM Tomebox"},
    };
    std::vector<BookFields> books;
    for (int id = 1; id <= 5; ++id) books.push_back(MakeFields("本" + std::to_string(id), id));
    for (const auto& c : cases) {
        RawDb raw;
        raw.Exec(std::string("DROP TABLE Tomebox;") + kCreateTableStatement
                 + "INSERT INTO Tomebox (BookName, ID) VALUES ('before', 0);" + (c.setUp ? c.setUp : ""));
        const auto before = TableRows(raw);
        RawDb other;
        if (c.lock) other.Exec(c.lock);
        EXPECT_FALSE(InsertBooks(catalogue_, Records(books))) << c.name;
        EXPECT_TRUE(sqlite3_get_autocommit(catalogue_.db.get())) << c.name;
        other.Close();
        EXPECT_EQ(before, TableRows(raw)) << c.name;
    }
}

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
        for (BookId id : c.ids) {
            BookFields f;
            f.BookName = "t";
            f.ID = id;
            books.push_back(MakeBook(f));
        }
        EXPECT_EQ(c.next, NextBookId(books)) << c.name;
    }
}

}  // namespace
