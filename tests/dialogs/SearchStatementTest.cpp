// The search statement built from the condition texts, and its run against
// a database of its own; what the user sees of it is in SearchWindowsTest.
#include <windows.h>
#include <sqlite3.h>
#include <string>
#include <vector>
#include "dialogs/SearchStatement.h"
#include "store/CatalogueDatabase.h"
#include "support/GTestWin32.h"

namespace {

enum Field { Title, TitleKana, Author, AuthorKana, Year, Month, Publisher, PublisherKana, Place, PlaceKana, Isbn };

SearchTexts Texts(std::initializer_list<std::pair<Field, std::string>> given)
{
    SearchTexts texts;
    for (const auto& [field, text] : given) texts[field] = text;
    return texts;
}

const std::string kOpening = "SELECT ID FROM 'Tomebox' WHERE ";

struct StatementCase {
    const char* name;
    SearchTexts texts;
    std::string expected;
};

TEST(SearchStatement, BuildsTheConditionsInColumnOrder)
{
    const StatementCase cases[] = {
        {"title and year", Texts({{Title, "abc"}, {Year, "2014"}}),
         kOpening + "BookName LIKE '%abc%' AND Year=2014 ;"},
        {"year alone", Texts({{Year, "2014"}}), kOpening + "Year=2014 ;"},
        {"title and month", Texts({{Title, "abc"}, {Month, "5"}}),
         kOpening + "BookName LIKE '%abc%' AND Month=5 ;"},
        {"place typed before publisher", Texts({{Place, "shelf"}, {Publisher, "pub"}}),
         kOpening + "Publisher LIKE '%pub%' AND Place LIKE '%shelf%' ;"},
        {"one space", Texts({{Title, " "}}), kOpening + "BookName LIKE '% %' ;"},
        {"wildcards kept", Texts({{Title, "c_t%"}}), kOpening + "BookName LIKE '%c_t%%' ;"},
        {"quotes doubled", Texts({{Author, "O'Brien"}, {Isbn, "''"}}),
         kOpening + "Author LIKE '%O''Brien%' AND ISBN LIKE '%''''%' ;"},
        {"nothing given", SearchTexts{}, kOpening + ";"},
        {"every field",
         Texts({{Title, "a"}, {TitleKana, "b"}, {Author, "c"}, {AuthorKana, "d"}, {Year, "1"}, {Month, "2"},
                {Publisher, "e"}, {PublisherKana, "f"}, {Place, "g"}, {PlaceKana, "h"}, {Isbn, "i"}}),
         kOpening + "BookName LIKE '%a%' AND BookNameKana LIKE '%b%' AND Author LIKE '%c%' AND "
                    "AuthorKana LIKE '%d%' AND Year=1 AND Month=2 AND Publisher LIKE '%e%' AND "
                    "PublisherKana LIKE '%f%' AND Place LIKE '%g%' AND PlaceKana LIKE '%h%' AND "
                    "ISBN LIKE '%i%' ;"},
        {"any script as typed", Texts({{Title, "表示"}, {PlaceKana, "Zoë 📚"}}),
         kOpening + "BookName LIKE '%表示%' AND PlaceKana LIKE '%Zoë 📚%' ;"},
        {"year with spaces and sign", Texts({{Year, " 2014 "}, {Month, "+07"}}), kOpening + "Year=2014 AND Month=7 ;"},
        {"negative year", Texts({{Year, "-5"}}), kOpening + "Year=-5 ;"},
    };
    for (const StatementCase& c : cases) {
        std::optional<std::string> sql = BuildSearchStatement(c.texts);
        ASSERT_TRUE(sql.has_value()) << c.name;
        EXPECT_EQ(c.expected, *sql) << c.name;
    }
}

TEST(SearchStatement, YearOrMonthThatIsNoWholeNumberMakesNoStatement)
{
    const char* texts[] = {"abc", "2014 OR 1=1", "２０１４", "2014;", " ", "+", "-", "+-5", "--5",
                           "20 14", "1e3", "0x10", "2014.0", "99999999999999999999", "Year"};
    for (const char* text : texts) {
        EXPECT_FALSE(BuildSearchStatement(Texts({{Title, "a"}, {Year, text}})).has_value()) << text;
        EXPECT_FALSE(BuildSearchStatement(Texts({{Month, text}})).has_value()) << text;
    }
}

// A catalogue in a database of its own, and the same records in a list
// whose order differs from the table's.
class SearchRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SQLITE_OK, sqlite3_open(":memory:", &db_));
        Exec(kCreateTableStatement);
        Add(4, "cut", "cut", 2014);
        Add(3, u8"吾輩は猫である", "吾輩は猫である", 1905);
        Add(1, "cat", "cat", 2014);
        Add(2, "O'Brien", "O'Brien", 0);
        Add(5, "coat", "coat", 2013);
    }
    void TearDown() override { sqlite3_close(db_); }

    void Exec(const std::string& sql) { ASSERT_EQ(SQLITE_OK, sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr)) << sql; }

    // utf8Title goes to the table, ansiTitle to the catalogue list.
    void Add(int32_t id, const std::string& utf8Title, const std::string& ansiTitle, int32_t year)
    {
        std::string quoted;
        for (char c : utf8Title) quoted += c == '\'' ? std::string("''") : std::string(1, c);
        Exec("INSERT INTO Tomebox (BookName, Year, ID) VALUES ('" + quoted + "', " + std::to_string(year) + ", " +
             std::to_string(id) + ")");
        BookFields fields;
        fields.BookName = ansiTitle;
        fields.Year = year;
        fields.ID = id;
        catalogue_.push_back(MakeBook(fields));
    }

    std::vector<int32_t> HitIds() const
    {
        std::vector<int32_t> ids;
        for (const BookPtr& hit : hits_) ids.push_back(hit->GetID());
        return ids;
    }

    sqlite3* db_ = nullptr;
    BookList catalogue_;  // IDs 4, 3, 1, 2, 5
    BookList hits_;
};

TEST_F(SearchRun, StatementsThatDoNotRunLeaveNoHits)
{
    const std::pair<SearchOutcome, SearchTexts> cases[] = {
        {SearchOutcome::NotPrepared, SearchTexts{}},
        {SearchOutcome::NotBuilt, Texts({{Year, "abc"}})},
        {SearchOutcome::NotBuilt, Texts({{Year, "2014 OR 1=1"}})},
        {SearchOutcome::NotBuilt, Texts({{Month, "１"}})},
    };
    for (const auto& [outcome, texts] : cases) {
        hits_ = catalogue_;
        EXPECT_EQ(outcome, RunSearch(texts, db_, catalogue_, hits_));
        EXPECT_TRUE(hits_.empty());
    }
}

TEST_F(SearchRun, RowsWithoutRecordSkippedAndTheFirstRecordOfAnIdTaken)
{
    Exec("INSERT INTO Tomebox (BookName, ID) VALUES ('cats', 9)");  // not in the catalogue list
    BookFields twin;
    twin.BookName = "cat twin";
    twin.ID = 1;
    catalogue_.push_back(MakeBook(twin));
    ASSERT_EQ(SearchOutcome::Done, RunSearch(Texts({{Title, "cat"}}), db_, catalogue_, hits_));
    ASSERT_EQ((std::vector<int32_t>{1}), HitIds());
    EXPECT_EQ(catalogue_[2].get(), hits_[0].get());
}

TEST_F(SearchRun, FailingStepKeepsTheHitsReadBeforeIt)
{
    // abs() of the smallest integer overflows when SQLite reaches ID 4.
    Exec("ALTER TABLE Tomebox RENAME TO Books");
    Exec("CREATE VIEW Tomebox AS SELECT BookName, Year, CASE WHEN ID = 4 THEN abs(-9223372036854775807 - 1) "
         "ELSE ID END AS ID FROM Books");
    EXPECT_EQ(SearchOutcome::StepFailed, RunSearch(Texts({{Year, "2014"}}), db_, catalogue_, hits_));
    EXPECT_EQ((std::vector<int32_t>{1}), HitIds());
}

}  // namespace
