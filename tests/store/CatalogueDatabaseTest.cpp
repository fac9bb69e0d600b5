#include "StoreTestSupport.h"

#include <windows.h>
#include <optional>
#include "store/RecordStatements.h"
#include "store/SqliteHandles.h"
#include "support/Catalogues.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kMismatch[] = "テーブル定義の異なるTomebox.sqliteファイルを読み込みました";
const char kVersionFailed[] = "ユーザバージョンの確認に失敗しました";
// The start-up's wait for a lock that another connection holds for good:
// as meaningful as the program's seconds, and quicker.
constexpr int kShortLockWait = 100;

class Startup : public StoreTest {
protected:
    StartupOutcome Start() { return StartCatalogueDatabase(catalogue_, window_.Operations(catalogue_)); }

    // A failed start-up: its one message, then its clean-up (the layout
    // statement finalized, the connection closed), then the quit request.
    void ExpectFailure(StartupOutcome outcome, StartupOutcome expected, const char* message)
    {
        EXPECT_EQ(static_cast<int>(expected), static_cast<int>(outcome));
        EXPECT_EQ(std::vector<std::string>{message}, window_.messages);
        EXPECT_EQ(1, window_.quitCount);
        EXPECT_FALSE(window_.openAtQuit);
        EXPECT_FALSE(catalogue_.db);
        const bool layoutPending = expected == StartupOutcome::LayoutStep
                                   || expected == StartupOutcome::LayoutMismatch
                                   || expected == StartupOutcome::Version;
        EXPECT_EQ(expected != StartupOutcome::Open, window_.openAtMessage);
        EXPECT_EQ(layoutPending ? 1 : 0, window_.statementsAtMessage);
    }

    void ExpectReady(StartupOutcome outcome)
    {
        EXPECT_EQ(static_cast<int>(StartupOutcome::Ready), static_cast<int>(outcome));
        EXPECT_TRUE(window_.messages.empty());
        EXPECT_EQ(0, window_.quitCount);
        EXPECT_TRUE(catalogue_.db);
    }

    RecordedWindow window_;
};

// A version-0 file: the system's table with code page 932 texts, as the
// earlier format stored them.
void WriteVersion0Rows(RawDb& raw)
{
    CreateCatalogueTable(raw);
    raw.Exec(Cp932("INSERT INTO Tomebox VALUES ('吾輩は猫である', 'ワガハイハネコデアル', '夏目漱石', 'ナツメソウセキ', "
                   "1905, 10, '大倉書店', 'オオクラショテン', '本棚1', 'ホンダナ', '978-4-00-310101-8', 3)"));
    raw.Exec(Cp932("INSERT INTO Tomebox VALUES ('O''Brien の表示', NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                   "NULL, NULL, NULL, 10)"));
    raw.Exec(Cp932("INSERT INTO Tomebox VALUES ('ｶﾅ', NULL, 'ソ', NULL, -1, 0, NULL, NULL, NULL, NULL, NULL, 7)"));
}

TEST_F(Startup, MissingFileIsCreatedAtVersion1)
{
    ASSERT_FALSE(FileExists(scratch_.File("Tomebox.sqlite")));
    ExpectReady(Start());
    EXPECT_TRUE(catalogue_.books.empty());
    catalogue_.db.Close();

    RawDb raw;
    EXPECT_EQ(1, raw.Version());
    EXPECT_EQ("CREATE TABLE 'Tomebox' ('BookName' TEXT NOT NULL, 'BookNameKana' TEXT, 'Author' TEXT, "
              "'AuthorKana' TEXT, 'Year' INTEGER, 'Month' INTEGER, 'Publisher' TEXT, 'PublisherKana' TEXT, "
              "'Place' TEXT, 'PlaceKana' TEXT, 'ISBN' TEXT, 'ID' INTEGER PRIMARY KEY)",
              raw.Rows("SELECT sql FROM sqlite_master WHERE name = 'Tomebox'").at(0).at(0));
}

TEST_F(Startup, Version0IsRewrittenInUtf8AndKeptAsItWas)
{
    Rows version0;
    {
        RawDb raw;
        WriteVersion0Rows(raw);
        EXPECT_EQ("\x8C\xE1\x94\x79\x82\xCD\x94\x4C\x82\xC5\x82\xA0\x82\xE9",
                  raw.Rows("SELECT BookName FROM Tomebox WHERE ID = 3")[0][0]);
        version0 = TableRows(raw);
    }
    ExpectReady(Start());
    {
        RawDb copy(kVersion0CopyName);
        EXPECT_EQ(0, copy.Version());
        EXPECT_EQ(version0, TableRows(copy));
    }
    {
        RawDb raw;
        EXPECT_EQ(1, raw.Version());
        EXPECT_EQ((Rows{{u8"吾輩は猫である", u8"ワガハイハネコデアル", u8"夏目漱石", u8"ナツメソウセキ", "1905", "10",
                         u8"大倉書店", u8"オオクラショテン", u8"本棚1", u8"ホンダナ", "978-4-00-310101-8", "3"},
                        {u8"ｶﾅ", kNull, u8"ソ", kNull, "-1", "0", kNull, kNull, kNull, kNull, kNull, "7"},
                        {u8"O'Brien の表示", kNull, kNull, kNull, "0", "0", kNull, kNull, kNull, kNull, kNull,
                         "10"}}),
                  TableRows(raw));
    }
    ASSERT_EQ(3u, catalogue_.books.size());
    EXPECT_EQ((std::vector<std::string>{"吾輩は猫である", "ワガハイハネコデアル", "夏目漱石", "ナツメソウセキ", "1905",
                                        "10", "大倉書店", "オオクラショテン", "本棚1", "ホンダナ",
                                        "978-4-00-310101-8", "3"}),
              Describe(*catalogue_.books[0]));
    EXPECT_EQ("ｶﾅ", catalogue_.books[1]->GetBookName());
    EXPECT_EQ(-1, catalogue_.books[1]->GetYear());
    EXPECT_EQ("O'Brien の表示", catalogue_.books[2]->GetBookName());
    EXPECT_EQ("", catalogue_.books[2]->GetAuthor());
}

// A file at version 1 is not written at all; any other version but 0 is
// read like 1 and then marked 1, its rows as they were.
// Texts of a version-0 table that are not in code page 932 are not
// converted from it.  A table restored from a dump (which does not carry
// user_version) holds UTF-8 already; a UTF-8 text that is no code page 932
// among others that are stays as it is.  UTF-8 that also reads as code page
// 932 cannot be told apart and is converted, as every version-0 text was.
// Bytes that are neither end up as readable UTF-8 all the same.
TEST_F(Startup, Version0TextsNotInCodePage932AreKept)
{
    const struct {
        const char* name;
        std::string title, author;                 // as stored at version 0
        std::string storedTitle;                   // as stored at version 1
        std::optional<std::string> storedAuthor;  // none: any valid UTF-8 but the bytes of before
    } cases[] = {
        {"restored from a dump", u8"紀元前の書", u8"舎人親王", u8"紀元前の書", u8"舎人親王"},
        {"one text in UTF-8", Cp932("表示"), u8"김영하 📚", u8"表示", u8"김영하 📚"},
        {"one text neither", Cp932("表示"), "Zo\xEB", u8"表示", std::nullopt},
        {"UTF-8 that reads as code page 932", u8"é", "Ann", u8"ﾃｩ", "Ann"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory own;
        {
            RawDb raw;
            CreateCatalogueTable(raw);
            raw.Exec("INSERT INTO Tomebox (BookName, Author, ID) VALUES ('" + c.title + "', '" + c.author + "', 1)");
        }
        RecordedWindow window;
        ASSERT_EQ(static_cast<int>(StartupOutcome::Ready),
                  static_cast<int>(StartCatalogueDatabase(catalogue_, window.Operations(catalogue_))));
        ASSERT_EQ(1u, catalogue_.books.size());
        EXPECT_EQ(c.storedTitle, catalogue_.books[0]->GetBookName());
        catalogue_.db.Close();
        catalogue_.books.clear();
        RawDb raw;
        const Rows rows = raw.Rows("SELECT BookName, Author FROM Tomebox");
        ASSERT_EQ(1u, rows.size());
        EXPECT_EQ(c.storedTitle, rows[0][0]);
        if (c.storedAuthor) {
            EXPECT_EQ(*c.storedAuthor, rows[0][1]);
        } else {
            EXPECT_TRUE(IsUtf8Text(rows[0][1])) << rows[0][1];
            EXPECT_NE(c.author, rows[0][1]);
            EXPECT_EQ(0u, rows[0][1].find("Zo"));
        }
        EXPECT_EQ(1, raw.Version());
    }
}

// The copy never replaces a file: with the name taken, it takes the next.
TEST_F(Startup, Version0CopyTakesAFreeName)
{
    {
        RawDb raw;
        WriteVersion0Rows(raw);
    }
    OverwriteFile(scratch_.File(kVersion0CopyName), 0, "not ours");
    ExpectReady(Start());
    EXPECT_EQ("not ours", ReadFileBytes(scratch_.File(kVersion0CopyName)));
    RawDb copy("Tomebox-version0-backup-2.sqlite");
    EXPECT_EQ(3u, TableRows(copy).size());
    EXPECT_EQ(0, copy.Version());
}

TEST_F(Startup, OtherVersionsAreReadWithoutRewriting)
{
    for (const char* version : {"1", "7", "-1"}) {
        {
            ScratchDirectory own;
            {
                RawDb raw;
                CreateCatalogueTable(raw);
                // Code page 932 bytes: a rewrite would show as changed bytes.
                raw.Exec(Cp932("INSERT INTO Tomebox (BookName, ID) VALUES ('表示', 1)"));
                raw.Exec(std::string("PRAGMA user_version = ") + version);
            }
            const std::string before = ReadFileBytes(own.File("Tomebox.sqlite"));
            RecordedWindow window;
            EXPECT_EQ(static_cast<int>(StartupOutcome::Ready),
                      static_cast<int>(StartCatalogueDatabase(catalogue_, window.Operations(catalogue_))))
                << version;
            EXPECT_TRUE(window.messages.empty());
            EXPECT_EQ(1u, catalogue_.books.size()) << version;
            catalogue_.db.Close();
            catalogue_.books.clear();
            if (std::string(version) == "1") EXPECT_TRUE(before == ReadFileBytes(own.File("Tomebox.sqlite")));
            RawDb raw;
            EXPECT_EQ(1, raw.Version()) << version;
            EXPECT_EQ("\x95\x5C\x8E\xA6", raw.Rows("SELECT BookName FROM Tomebox")[0][0]) << version;
        }
    }
}

TEST_F(Startup, WrongLayoutsAreRefusedAndLeftUntouched)
{
    const struct {
        const char* name;
        const char* create;
    } layouts[] = {
        {"ID NOT NULL", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                        "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                        "Place TEXT, PlaceKana TEXT, ISBN TEXT, ID INTEGER NOT NULL PRIMARY KEY)"},
        {"BookName nullable", "CREATE TABLE Tomebox (BookName TEXT, BookNameKana TEXT, Author TEXT, "
                              "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                              "Place TEXT, PlaceKana TEXT, ISBN TEXT, ID INTEGER PRIMARY KEY)"},
        {"lower-case type", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                            "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                            "Place varchar, PlaceKana TEXT, ISBN TEXT, ID INTEGER PRIMARY KEY)"},
        {"VARCHAR", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author VARCHAR, "
                    "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                    "Place TEXT, PlaceKana TEXT, ISBN TEXT, ID INTEGER PRIMARY KEY)"},
        {"INT", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                "AuthorKana TEXT, Year INT, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                "Place TEXT, PlaceKana TEXT, ISBN TEXT, ID INTEGER PRIMARY KEY)"},
        {"composite key", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                          "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                          "Place TEXT, PlaceKana TEXT, ISBN TEXT, ID INTEGER, PRIMARY KEY (ID, Place))"},
        {"missing column", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                           "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                           "Place TEXT, PlaceKana TEXT, ID INTEGER PRIMARY KEY)"},
        {"name case", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                      "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                      "Place TEXT, PlaceKana TEXT, Isbn TEXT, ID INTEGER PRIMARY KEY)"},
        {"ISBN not null", "CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                          "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                          "Place TEXT, PlaceKana TEXT, ISBN TEXT NOT NULL, ID INTEGER PRIMARY KEY)"},
        {"table cannot be created", "CREATE TABLE Other (a); CREATE INDEX Tomebox ON Other (a)"},
        {"a view", "CREATE VIEW Tomebox AS SELECT 1 AS BookName"},
    };
    for (const auto& layout : layouts) {
        ScratchDirectory own;
        {
            RawDb raw;
            raw.Exec(layout.create);
            raw.TryExec("INSERT INTO Tomebox (BookName, ID) VALUES ('本', 1)");
        }
        const std::string before = ReadFileBytes(own.File("Tomebox.sqlite"));
        RecordedWindow window;
        EXPECT_EQ(static_cast<int>(StartupOutcome::LayoutMismatch),
                  static_cast<int>(StartCatalogueDatabase(catalogue_, window.Operations(catalogue_))))
            << layout.name;
        EXPECT_EQ(std::vector<std::string>{kMismatch}, window.messages) << layout.name;
        EXPECT_EQ(1, window.quitCount) << layout.name;
        EXPECT_EQ(1, window.statementsAtMessage) << layout.name;
        EXPECT_FALSE(window.openAtQuit) << layout.name;
        EXPECT_FALSE(catalogue_.db) << layout.name;
        EXPECT_TRUE(catalogue_.books.empty()) << layout.name;
        EXPECT_EQ(before, ReadFileBytes(own.File("Tomebox.sqlite"))) << layout.name;
    }
}

// SQLite reports the standard type names (TEXT, INTEGER, INT, ...) in upper
// case whatever the declaration's case, so such a table is the same layout.
TEST_F(Startup, StandardTypeNamesInLowerCaseAreTheSameLayout)
{
    {
        RawDb raw;
        raw.Exec("CREATE TABLE Tomebox (BookName text NOT NULL, BookNameKana Text, Author TEXT, AuthorKana TEXT, "
                 "Year integer, Month INTEGER, Publisher TEXT, PublisherKana TEXT, Place TEXT, PlaceKana TEXT, "
                 "ISBN TEXT, ID Integer PRIMARY KEY)");
        EXPECT_EQ((Rows{{"TEXT"}, {"INTEGER"}}),
                  raw.Rows("SELECT type FROM pragma_table_info('Tomebox') WHERE name IN ('BookName', 'Year')"));
    }
    ExpectReady(Start());
}

TEST_F(Startup, FurtherColumnsAreAccepted)
{
    {
        RawDb raw;
        raw.Exec("CREATE TABLE Tomebox (BookName TEXT NOT NULL, BookNameKana TEXT, Author TEXT, "
                 "AuthorKana TEXT, Year INTEGER, Month INTEGER, Publisher TEXT, PublisherKana TEXT, "
                 "Place TEXT, PlaceKana TEXT, ISBN TEXT, ID INTEGER PRIMARY KEY, Note TEXT, Rating INTEGER)");
        raw.Exec(u8"INSERT INTO Tomebox VALUES ('三四郎', NULL, '夏目漱石', NULL, 1909, 1, NULL, NULL, NULL, NULL, "
                 u8"NULL, 5, 'メモ', 4)");
        raw.Exec("PRAGMA user_version = 1");
    }
    ExpectReady(Start());
    ASSERT_EQ(1u, catalogue_.books.size());
    EXPECT_EQ("三四郎", catalogue_.books[0]->GetBookName());
    EXPECT_EQ(5, catalogue_.books[0]->GetID());
}

// The twelve columns in reverse order, behind two further ones.
const char kShuffledTable[] =
    "CREATE TABLE Tomebox (Note TEXT, Rating INTEGER DEFAULT 3, ID INTEGER PRIMARY KEY, ISBN TEXT, "
    "PlaceKana TEXT, Place TEXT, PublisherKana TEXT, Publisher TEXT, Month INTEGER, Year INTEGER, "
    "AuthorKana TEXT, Author TEXT, BookNameKana TEXT, BookName TEXT NOT NULL)";

TEST_F(Startup, ColumnsInAnotherOrderLoadIntoTheirFields)
{
    {
        RawDb raw;
        raw.Exec(kShuffledTable);
        raw.Exec(u8"INSERT INTO Tomebox (Note, ID, ISBN, PlaceKana, Place, PublisherKana, Publisher, Month, Year, "
                 u8"AuthorKana, Author, BookNameKana, BookName) VALUES ('メモ', 8, '978-4', 'ホンダナ', '本棚', "
                 u8"'イワナミ', '岩波', 5, 1914, 'ソウセキ', '漱石', 'ココロ', 'こころ')");
        raw.Exec("PRAGMA user_version = 1");
    }
    ExpectReady(Start());
    ASSERT_EQ(1u, catalogue_.books.size());
    EXPECT_EQ((std::vector<std::string>{"こころ", "ココロ", "漱石", "ソウセキ", "1914", "5", "岩波", "イワナミ", "本棚",
                                        "ホンダナ", "978-4", "8"}),
              Describe(*catalogue_.books[0]));

    // A new record goes into its own columns too.
    BookFields added = MakeFields("門", 9);
    ASSERT_TRUE(SaveBookData(catalogue_, Insert, MakeBook(added)));
    catalogue_.db.Close();
    RawDb raw;
    EXPECT_EQ((Rows{{u8"門", u8"ショメイ", u8"夏目漱石", u8"ナツメソウセキ", "1906", "4", u8"岩波書店",
                     u8"イワナミショテン", u8"本棚1", u8"ホンダナ", "9784003101018", "9"}}),
              raw.Rows("SELECT BookName, BookNameKana, Author, AuthorKana, Year, Month, Publisher, PublisherKana, "
                       "Place, PlaceKana, ISBN, ID FROM Tomebox WHERE ID = 9"));
    EXPECT_EQ((Rows{{kNull, "3"}}), raw.Rows("SELECT Note, Rating FROM Tomebox WHERE ID = 9"));
}

TEST_F(Startup, Version0InAnotherOrderIsRewrittenInPlace)
{
    {
        RawDb raw;
        raw.Exec(kShuffledTable);
        raw.Exec(Cp932("INSERT INTO Tomebox (Note, Rating, ID, Author, Year, BookName) "
                       "VALUES ('メモ', 5, 2, '漱石', 1914, 'こころ')"));
    }
    ExpectReady(Start());
    ASSERT_EQ(1u, catalogue_.books.size());
    EXPECT_EQ("こころ", catalogue_.books[0]->GetBookName());
    EXPECT_EQ("漱石", catalogue_.books[0]->GetAuthor());
    EXPECT_EQ(1914, catalogue_.books[0]->GetYear());
    EXPECT_EQ(2, catalogue_.books[0]->GetID());
    catalogue_.db.Close();
    RawDb raw;
    EXPECT_EQ(1, raw.Version());
    // The further columns keep their values; they are not the system's to convert.
    EXPECT_EQ((Rows{{u8"こころ", u8"漱石", "1914", Cp932("メモ"), "5"}}),
              raw.Rows("SELECT BookName, Author, Year, Note, Rating FROM Tomebox"));
}

TEST_F(Startup, NullBookNameLoadsAsEmptyText)
{
    {
        // The row is written before NOT NULL is put into the declaration.
        RawDb raw;
        raw.Exec("CREATE TABLE 'Tomebox' ('BookName' TEXT, 'BookNameKana' TEXT, 'Author' TEXT, 'AuthorKana' TEXT, "
                 "'Year' INTEGER, 'Month' INTEGER, 'Publisher' TEXT, 'PublisherKana' TEXT, 'Place' TEXT, "
                 "'PlaceKana' TEXT, 'ISBN' TEXT, 'ID' INTEGER PRIMARY KEY)");
        raw.Exec("INSERT INTO Tomebox (BookName, Author, ID) VALUES (NULL, 'x', 4)");
        raw.Exec("PRAGMA writable_schema = 1");
        raw.Exec("UPDATE sqlite_master SET sql = replace(sql, '''BookName'' TEXT,', '''BookName'' TEXT NOT NULL,') "
                 "WHERE name = 'Tomebox'");
        raw.Exec("PRAGMA writable_schema = 0");
        raw.Exec("PRAGMA user_version = 1");
    }
    ExpectReady(Start());
    ASSERT_EQ(1u, catalogue_.books.size());
    EXPECT_EQ("", catalogue_.books[0]->GetBookName());
    EXPECT_EQ("x", catalogue_.books[0]->GetAuthor());
    EXPECT_EQ(4, catalogue_.books[0]->GetID());
}

TEST_F(Startup, NotADatabaseIsNotRead)
{
    const std::string garbage(4096, 'G');
    OverwriteFile(scratch_.File("Tomebox.sqlite"), 0, garbage);
    ExpectFailure(Start(), StartupOutcome::PrepareLayout, "データベースの読み込みに失敗しました");
    EXPECT_EQ(garbage, ReadFileBytes(scratch_.File("Tomebox.sqlite")));
}

TEST_F(Startup, FileThatCannotBeOpened)
{
    // A directory in place of the file.
    ASSERT_TRUE(CreateDirectoryA(scratch_.File("Tomebox.sqlite").c_str(), nullptr));
    ExpectFailure(Start(), StartupOutcome::Open, "データベースの生成に失敗しました");
    CloseCatalogueDatabase(catalogue_, window_.Operations(catalogue_));
    EXPECT_EQ(1u, window_.messages.size());
    EXPECT_EQ(2, window_.quitCount);
}

TEST_F(Startup, LayoutStepFailureIsReported)
{
    RawDb raw;
    // The step fails with an integer overflow after one good row.
    Statement statement;
    ASSERT_EQ(SQLITE_OK, PrepareStatement(raw.get(),
                                          "SELECT cid, name, type, nn, d, abs(pk) FROM ("
                                          "SELECT 0 AS cid, 'BookName' AS name, 'TEXT' AS type, 1 AS nn, NULL AS d, "
                                          "0 AS pk UNION ALL "
                                          "SELECT 1, 'ID', 'INTEGER', 0, NULL, -9223372036854775807 - 1)",
                                          statement));
    const LayoutCheck check = VerifyLayout(statement.get());
    EXPECT_EQ(SQLITE_ERROR, check.lastStep);
    EXPECT_EQ(1u, check.schemaMask);
}

TEST_F(Startup, LayoutMaskBits)
{
    RawDb raw;
    CreateCatalogueTable(raw);
    Statement statement;
    ASSERT_EQ(SQLITE_OK, PrepareStatement(raw.get(), "PRAGMA TABLE_INFO ('Tomebox');", statement));
    EXPECT_EQ(kCompleteSchemaMask, VerifyLayout(statement.get()).schemaMask);

    const struct {
        const char* rows;
        uint32_t mask;
    } cases[] = {
        {"SELECT 0, 'BookName', 'TEXT', 1, NULL, 0", 0x001},
        {"SELECT 0, 'BookName', 'TEXT', 0, NULL, 0", 0x000},
        {"SELECT 0, 'ID', 'INTEGER', 0, NULL, 1", 0x800},
        {"SELECT 0, 'ID', 'INTEGER', 0, NULL, 2", 0x800},
        {"SELECT 0, 'ID', 'INTEGER', 1, NULL, 1", 0x000},
        {"SELECT 0, 'Place', 'TEXT', 0, NULL, 2", 0x000},
        {"SELECT 0, 'Year', NULL, 0, NULL, 0", 0x000},
        {"SELECT 0, 'Year', 'integer', 0, NULL, 0", 0x000},
        {"SELECT 0, 'Author', 'text', 0, NULL, 0", 0x000},
        {"SELECT 0, 'Author', 'TEXT ', 0, NULL, 0", 0x000},
        {"SELECT 0, NULL, 'TEXT', 0, NULL, 0", 0x000},
        {"SELECT 0, 'Month', 'INTEGER', 0, NULL, 0 UNION ALL SELECT 1, 'Month', 'TEXT', 0, NULL, 0", 0x020},
        {"SELECT 0, 'Month', 'TEXT', 0, NULL, 0 UNION ALL SELECT 1, 'Month', 'INTEGER', 0, NULL, 0", 0x020},
        {"SELECT 0, 'ISBN', 'TEXT', 0, NULL, 0 UNION ALL SELECT 1, 'Extra', 'TEXT', 0, NULL, 0", 0x400},
    };
    for (const auto& c : cases) {
        Statement rows;
        ASSERT_EQ(SQLITE_OK, PrepareStatement(raw.get(), c.rows, rows)) << c.rows;
        const LayoutCheck check = VerifyLayout(rows.get());
        EXPECT_EQ(c.mask, check.schemaMask) << c.rows;
        EXPECT_EQ(SQLITE_DONE, check.lastStep) << c.rows;
    }
}

TEST(Fnv1a, KnownKeys)
{
    EXPECT_EQ(2166136261u, Fnv1a(""));
    EXPECT_EQ(0xE40C292Cu, Fnv1a("a"));
    EXPECT_EQ(0xBF9CF968u, Fnv1a("foobar"));
}

// A version-0 file whose upgrade cannot finish: every original row stays.
class FailedUpgrade : public Startup {
protected:
    void SetUp() override
    {
        Startup::SetUp();
        RawDb raw;
        WriteVersion0Rows(raw);
        before_ = TableRows(raw);
    }

    void ExpectTableAsBefore()
    {
        RawDb raw;
        EXPECT_EQ(before_, TableRows(raw));
        EXPECT_EQ(0, raw.Version());
        EXPECT_TRUE(catalogue_.books.empty());
        // The file is as it was: no copy of it is left.
        EXPECT_FALSE(FileExists(scratch_.File(kVersion0CopyName)));
    }

    Rows before_;
};

// A row refused midway: ABORT undoes the statement and leaves the
// transaction to the upgrade; ROLLBACK has SQLite end the transaction
// itself, as a full disk does.  Once the cause is gone, one copy is kept.
TEST_F(FailedUpgrade, InsertRefusedMidway)
{
    for (const char* action : {"ABORT", "ROLLBACK"}) {
        SCOPED_TRACE(action);
        RawDb().Exec(std::string("CREATE TRIGGER refuse BEFORE INSERT ON Tomebox WHEN NEW.ID = 7 "
                                 "BEGIN SELECT RAISE(") + action + ", 'refused'); END");
        const std::string before = ReadFileBytes(scratch_.File("Tomebox.sqlite"));
        window_ = RecordedWindow();
        ExpectFailure(Start(), StartupOutcome::Version, kVersionFailed);
        ExpectTableAsBefore();
        EXPECT_TRUE(before == ReadFileBytes(scratch_.File("Tomebox.sqlite")));
        RawDb().Exec("DROP TRIGGER refuse");
    }
    window_ = RecordedWindow();
    ExpectReady(Start());
    EXPECT_TRUE(FileExists(scratch_.File(kVersion0CopyName)));
    EXPECT_FALSE(FileExists(scratch_.File("Tomebox-version0-backup-2.sqlite")));
}

TEST_F(FailedUpgrade, ConstraintBrokenByTheLongerUtf8)
{
    {
        RawDb raw;
        // Three bytes per kanji in UTF-8 against two in code page 932.
        raw.Exec("CREATE TRIGGER bounded BEFORE INSERT ON Tomebox WHEN length(CAST(NEW.BookName AS BLOB)) > 16 "
                 "BEGIN SELECT RAISE(ABORT, 'too long'); END");
    }
    ExpectFailure(Start(), StartupOutcome::Version, kVersionFailed);
    ExpectTableAsBefore();
}

TEST_F(FailedUpgrade, AnotherWriterHoldsTheFile)
{
    catalogue_.busyTimeoutMilliseconds = kShortLockWait;
    RawDb other;
    other.Exec("BEGIN IMMEDIATE");
    ExpectFailure(Start(), StartupOutcome::Version, kVersionFailed);
    other.Exec("COMMIT");
    other.Close();
    ExpectTableAsBefore();

    // Once the other writer is gone, the next start-up upgrades.
    RecordedWindow again;
    EXPECT_EQ(static_cast<int>(StartupOutcome::Ready), static_cast<int>(StartCatalogueDatabase(catalogue_, again.Operations(catalogue_))));
    EXPECT_EQ(3u, catalogue_.books.size());
}

TEST_F(FailedUpgrade, ExclusiveLockStopsTheVersionRead)
{
    catalogue_.busyTimeoutMilliseconds = kShortLockWait;
    RawDb other;
    other.Exec("BEGIN EXCLUSIVE");
    const StartupOutcome outcome = Start();
    other.Exec("COMMIT");
    other.Close();
    // Locked before the layout was read, or while the version was.
    EXPECT_TRUE(outcome == StartupOutcome::PrepareLayout || outcome == StartupOutcome::Version);
    EXPECT_EQ(1u, window_.messages.size());
    EXPECT_EQ(1, window_.quitCount);
    EXPECT_FALSE(catalogue_.db);
    ExpectTableAsBefore();
}

// Another version is marked 1 only once its rows have been read; a mark
// the file refuses ends the start-up with nothing loaded and the file as
// it was.
TEST_F(Startup, OtherVersionMarkRefused)
{
    {
        RawDb raw;
        CreateCatalogueTable(raw);
        raw.Exec("INSERT INTO Tomebox (BookName, ID) VALUES ('x', 1)");
        raw.Exec("PRAGMA user_version = 7");
    }
    RawDb other;
    other.Exec("BEGIN IMMEDIATE");
    catalogue_.busyTimeoutMilliseconds = kShortLockWait;
    EXPECT_EQ(static_cast<int>(StartupOutcome::Version), static_cast<int>(Start()));
    EXPECT_EQ(std::vector<std::string>{kVersionFailed}, window_.messages);
    EXPECT_EQ(1, window_.quitCount);
    EXPECT_EQ(0, window_.statementsAtMessage);
    EXPECT_FALSE(window_.openAtQuit);
    EXPECT_TRUE(catalogue_.books.empty());
    other.Exec("COMMIT");
    EXPECT_EQ(7, other.Version());
}

// Ends another connection's transaction after a moment, from a thread of
// its own, while the start-up waits on this one.
DWORD WINAPI CommitSoon(LPVOID db)
{
    Sleep(300);
    static_cast<RawDb*>(db)->Exec("COMMIT");
    return 0;
}

// A version-1 file is only read: another program's write lock does not
// stop it.  A reader holding the file for a
// moment is waited out where the start-up writes.
TEST_F(Startup, LocksOfOtherProgramsThatDoNotStopTheStartUp)
{
    const struct {
        const char* name;
        int version;
        const char* begin;
        bool released;
    } cases[] = {
        {"version 1, a writer holds the file", 1, "BEGIN IMMEDIATE", false},
        {"version 0, a reader for a moment", 0, "BEGIN", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory own;
        {
            RawDb raw;
            WriteVersion0Rows(raw);
            raw.Exec("PRAGMA user_version = " + std::to_string(c.version));
        }
        RawDb other;
        other.Exec(c.begin);
        other.Rows("SELECT count(*) FROM Tomebox");
        HANDLE release = c.released ? CreateThread(nullptr, 0, CommitSoon, &other, 0, nullptr) : nullptr;
        RecordedWindow window;
        EXPECT_EQ(static_cast<int>(StartupOutcome::Ready),
                  static_cast<int>(StartCatalogueDatabase(catalogue_, window.Operations(catalogue_))));
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(3u, catalogue_.books.size());
        if (release) {
            WaitForSingleObject(release, INFINITE);
            CloseHandle(release);
        } else {
            other.Exec("COMMIT");
        }
        catalogue_.db.Close();
        catalogue_.books.clear();
        EXPECT_EQ(1, other.Version());
    }
}

// Pages of a multi-page table: one corrupted leaf stops the load midway.
TEST_F(Startup, LoadFailureKeepsTheRowsReadBefore)
{
    {
        RawDb raw;
        raw.Exec("PRAGMA page_size = 4096");
        CreateCatalogueTable(raw);
        raw.Exec("BEGIN");
        for (int id = 0; id < 300; ++id)
            raw.Exec("INSERT INTO Tomebox (BookName, Author, ID) VALUES ('" + std::string(100, 'a') + "', '"
                     + std::string(100, 'b') + "', " + std::to_string(id) + ")");
        raw.Exec("COMMIT");
        raw.Exec("PRAGMA user_version = 1");
    }
    const std::string bytes = ReadFileBytes(scratch_.File("Tomebox.sqlite"));
    ASSERT_GT(bytes.size(), 4u * 4096);
    OverwriteFile(scratch_.File("Tomebox.sqlite"), static_cast<long long>(bytes.size()) - 4096,
                  std::string(4096, '\xFF'));

    const std::string before = ReadFileBytes(scratch_.File("Tomebox.sqlite"));
    ExpectFailure(Start(), StartupOutcome::Load, "SQLから情報の読み込みに失敗しました");
    // Refused, the file stays as it was, to the header's change counter.
    EXPECT_TRUE(before == ReadFileBytes(scratch_.File("Tomebox.sqlite")));
    EXPECT_GT(catalogue_.books.size(), 0u);
    EXPECT_LT(catalogue_.books.size(), 300u);
    for (std::size_t i = 0; i < catalogue_.books.size(); ++i) EXPECT_EQ(static_cast<int>(i), catalogue_.books[i]->GetID());
}

TEST_F(Startup, CloseAtShutdown)
{
    ExpectReady(Start());
    CloseCatalogueDatabase(catalogue_, window_.Operations(catalogue_));
    EXPECT_TRUE(window_.messages.empty());
    EXPECT_EQ(1, window_.quitCount);
    EXPECT_FALSE(catalogue_.db);

    // Nothing is left to close a second time.
    CloseCatalogueDatabase(catalogue_, window_.Operations(catalogue_));
    EXPECT_TRUE(window_.messages.empty());
    EXPECT_EQ(2, window_.quitCount);
}

TEST_F(Startup, FailingCloseStillPostsQuit)
{
    ExpectReady(Start());
    sqlite3* db = catalogue_.db.get();
    sqlite3_stmt* pending = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_prepare(db, "SELECT * FROM Tomebox", -1, &pending, nullptr));
    CloseCatalogueDatabase(catalogue_, window_.Operations(catalogue_));
    EXPECT_EQ(std::vector<std::string>{"データベースのクローズに失敗しました"}, window_.messages);
    EXPECT_EQ(1, window_.quitCount);
    EXPECT_FALSE(catalogue_.db);
    // The connection is left to whoever holds its statement.
    sqlite3_finalize(pending);
    EXPECT_EQ(SQLITE_OK, sqlite3_close(db));
}

TEST_F(Startup, FailedStartupLeavesNothingToClose)
{
    OverwriteFile(scratch_.File("Tomebox.sqlite"), 0, std::string(4096, 'G'));
    ExpectFailure(Start(), StartupOutcome::PrepareLayout, "データベースの読み込みに失敗しました");
    CloseCatalogueDatabase(catalogue_, window_.Operations(catalogue_));
    EXPECT_EQ(1u, window_.messages.size());
    EXPECT_EQ(2, window_.quitCount);
}

}  // namespace
