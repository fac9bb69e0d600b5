#include "StoreTestSupport.h"

#include <windows.h>
#include <climits>
#include "store/CatalogueCsv.h"
#include "support/Catalogues.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

// The eleven values of a book, its ID left out.
std::vector<std::string> Values(BookFields fields)
{
    std::vector<std::string> values = Describe(BookData(fields));
    values.pop_back();
    return values;
}

std::vector<std::string> ProblemTexts(const ImportPlan& plan)
{
    std::vector<std::string> texts;
    for (const ImportProblem& problem : plan.problems) texts.push_back(ImportProblemText(problem));
    return texts;
}

BookList Records(const std::vector<BookFields>& books)
{
    BookList records;
    for (const BookFields& fields : books) records.push_back(MakeBook(fields));
    return records;
}

BookFields Book(const char* name, const char* author, const char* isbn)
{
    BookFields fields;
    fields.BookName = name;
    fields.Author = author;
    fields.ISBN = isbn;
    return fields;
}

TEST(CatalogueCsv, ExportWritesTheHeaderAndEveryBookWhole)
{
    BookFields odd = Book("=1+2", "O'Brien, \"Flann\"", "");
    odd.Place = "棚\r\n上";
    odd.Year = -660;
    EXPECT_EQ(kBom + u8"書名,書名(カナ),著者,著者(カナ),発行年,発行月,出版者,出版者(カナ),場所,場所(カナ),ISBN\r\n"
                  u8"吾輩は猫である,ショメイ,夏目漱石,ナツメソウセキ,1906,4,岩波書店,イワナミショテン,本棚1,ホンダナ,"
                  u8"9784003101018\r\n"
                  u8"'=1+2,,\"O'Brien, \"\"Flann\"\"\",,-660,,,,\"棚\r\n上\",,\r\n",
              FormatCatalogueCsv(Records({MakeFields("吾輩は猫である", 12), odd})));
}

TEST(CatalogueCsv, FormulaStartsGetAnApostropheThatTheImportTakesOff)
{
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"=SUM(A1)", "'=SUM(A1)"}, {"+81 3", "'+81 3"}, {"-", "'-"},        {"@x", "'@x"},
        {"\tx", "'\tx"},           {"\rx", "'\rx"},     {"'=x", "''=x"},    {"''-y", "'''-y"},
        {"'plain", "'plain"},      {"'", "'"},          {"a=b", "a=b"},     {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.written, ProtectFormula(c.text)) << c.text;
        EXPECT_EQ(c.text, UnprotectFormula(c.written)) << c.text;
    }
}

TEST(CatalogueCsv, ExportedCatalogueImportsValueForValue)
{
    std::string longText;
    for (int i = 0; i < 20000; ++i) longText += u8"長い書名📚";
    const std::vector<BookFields> books = {
        MakeFields("吾輩は猫である", 0),
        {u8"L'Étranger", "", u8"Albert Camus, Zoë Brontë", "", 1942, 0, u8"Éditions \"Gallimard\"", "", "", "",
         "2-07-036002-4", 1},
        {u8"我们的故事", u8"ウォメンダグーシ", u8"김영하", u8"キム・ヨンハ", -660, 12, "=cmd|' /C calc'!A0", "'=x",
         "-5", "+81", "@home", 2},
        {u8"📚 Reading\r\ntogether\nagain\rand", " ", "'", "''", 0, 0, "a,b", "\"", " lead and trail ", "\t",
         longText, 3},
    };
    const ImportPlan plan = PlanCatalogueImport(FormatCatalogueCsv(Records(books)));
    EXPECT_EQ(std::vector<std::string>{}, ProblemTexts(plan));
    EXPECT_TRUE(plan.ignoredColumns.empty());
    ASSERT_EQ(books.size(), plan.books.size());
    for (std::size_t i = 0; i < books.size(); ++i) EXPECT_EQ(Values(books[i]), Values(plan.books[i])) << i;
}

TEST(CatalogueCsv, ColumnsFoundByTheNamesOtherProgramsUse)
{
    using V = std::vector<std::string>;
    const struct {
        const char* name;
        std::string file;
        V values;
        V ignored;
    } cases[] = {
        {"the export's labels in another order", u8"ISBN,発行月,書名\r\n978-4,7,T", {"T", "", "", "", "0", "7", "", "", "", "", "978-4"}, {}},
        {"a catalogue program's", u8"タイトル,著者名,出版社,発売日,ISBN-13,メモ,\r\nT,A,P,2014/05/20,9784003101018,m,",
         {"T", "", "A", "", "2014", "5", "P", "", "", "", "9784003101018"}, {u8"メモ"}},
        {"a year column before a date", u8"作者,出版社名,発行日,出版年,題名\r\nA,P,2014年5月,1999,T",
         {"T", "", "A", "", "1999", "5", "P", "", "", "", ""}, {}},
        {"full-width and spaced names", u8"ＩＳＢＮ－１０, 書名（カナ） ,書名,著者カナ,出版社ヨミ,保管場所,場所カナ\r\n1,K,T,AK,PK,S,SK",
         {"T", "K", "", "AK", "0", "0", "", "PK", "S", "SK", "1"}, {}},
        {"the first of two title columns", u8"タイトル,書名,書名\r\nA,B,C", {"B", "", "", "", "0", "0", "", "", "", "", ""},
         {u8"タイトル", u8"書名"}},
    };
    for (const auto& c : cases) {
        const ImportPlan plan = PlanCatalogueImport(c.file);
        EXPECT_EQ(V{}, ProblemTexts(plan)) << c.name;
        EXPECT_EQ(c.ignored, plan.ignoredColumns) << c.name;
        ASSERT_EQ(1u, plan.books.size()) << c.name;
        EXPECT_EQ(c.values, Values(plan.books[0])) << c.name;
    }
}

TEST(CatalogueCsv, YearsMonthsAndDates)
{
    constexpr int kWrong = INT_MIN;
    const struct {
        const char* column;
        const char* value;
        int year, month;  // kWrong: the value is wrong
    } cases[] = {
        {"発売日", "2014/05/20", 2014, 5}, {"発売日", "2014-05", 2014, 5},       {"発売日", "2014年5月", 2014, 5},
        {"発売日", "2014年5月20日", 2014, 5}, {"発売日", "2014.5.20", 2014, 5}, {"発売日", "20140520", 2014, 5},
        {"発売日", "201405", 2014, 5},     {"発売日", "2014/5/20 0:00", 2014, 5}, {"発売日", " 2014 ", 2014, 0},
        {"発売日", "", 0, 0},              {"発売日", "2014/13/01", kWrong, kWrong},     {"発売日", "平成26年", kWrong, kWrong},
        {"発売日", "2014/5-20", kWrong, kWrong},   {"発売日", "12345", kWrong, kWrong},          {"発売日", "2014年5", kWrong, kWrong},
        {"発行年", " 2014\t", 2014, 0},    {"発行年", "-660", -660, 0},          {"発行年", u8"　1999　", 1999, 0},
        {"発行月", "+5", 0, 5},            {"発行年", "2014年", kWrong, kWrong},         {"発行年", "1.5", kWrong, kWrong},
        {"発行月", "99999999999", kWrong, kWrong}, {"発行年", "2014/05", kWrong, kWrong},        {"発行年", "-", kWrong, kWrong},
    };
    for (const auto& c : cases) {
        const std::string line = std::string(c.column) + " " + c.value;
        const ImportPlan plan = PlanCatalogueImport(std::string("書名,") + c.column + "\r\nT,\"" + c.value + "\"");
        if (c.year == kWrong) {
            EXPECT_EQ(1u, plan.problemCount) << line;
            EXPECT_TRUE(plan.books.empty()) << line;
            continue;
        }
        ASSERT_EQ(1u, plan.books.size()) << line;
        EXPECT_EQ(c.year, plan.books[0].Year) << line;
        EXPECT_EQ(c.month, plan.books[0].Month) << line;
    }
}

TEST(CatalogueCsv, EveryWrongLineIsNamedAndNothingIsPlanned)
{
    const ImportPlan plan = PlanCatalogueImport(u8"書名,発行年,発売日\r\n"
                                                u8"A,2014,\r\n"
                                                u8",2014,\r\n"
                                                u8"B,二〇一四,2014/5/1\r\n"
                                                u8"C,2014,,x\r\n"
                                                u8",,\r\n"
                                                u8"D\r\n"
                                                u8"E,,5月\r\n"
                                                u8"\"F,1\r\n");
    EXPECT_EQ((std::vector<std::string>{u8"3行目: 書名がありません", u8"4行目: 発行年「二〇一四」が整数ではありません",
                                        u8"5行目: 項目が見出しより多くあります（見出しは3項目、この行は4項目）",
                                        u8"8行目: 発売日「5月」が日付として読めません",
                                        u8"9行目: 引用符（\"）が閉じていません"}),
              ProblemTexts(plan));
    EXPECT_TRUE(plan.books.empty());
    EXPECT_EQ(u8"3行目: 書名がありません\r\n4行目: 発行年「二〇一四」が整数ではありません\r\nほかに3件の誤りがあります",
              ImportProblemsMessage(plan, 2));

    std::string many = "書名\r\n";
    for (int i = 0; i < 100; ++i) many += "\"x\"y\r\n";
    const ImportPlan manyPlan = PlanCatalogueImport(many);
    EXPECT_EQ(100u, manyPlan.problemCount);
    ASSERT_EQ(kImportProblemsKept, manyPlan.problems.size());
    EXPECT_EQ(21u, manyPlan.problems.back().line);
}

TEST(CatalogueCsv, FilesRefusedAsAWhole)
{
    const struct {
        const char* name;
        std::string file;
        const char* problem;
    } cases[] = {
        {"no title column", u8"著者,ISBN\r\nA,1", u8"1行目: 書名の列がありません（見出しに「書名」か「タイトル」の列が要ります）"},
        {"empty", "", u8"見出しの行がありません"},
        {"empty lines alone", kBom + "\r\n\n", u8"見出しの行がありません"},
        {"a header quote unclosed", "\"書名\r\nA", u8"1行目: 引用符（\"）が閉じていません"},
        {"bytes of neither encoding", "\r\n書名\r\n\x82\r\n", u8"3行目: UTF-8としてもShift_JISとしても読めないバイトがあります"},
        {"NUL bytes", std::string(u8"書名\r\nA") + '\0', u8"2行目: NUL文字（0x00）があります"},
    };
    for (const auto& c : cases) {
        const ImportPlan plan = PlanCatalogueImport(c.file);
        EXPECT_EQ(std::vector<std::string>{c.problem}, ProblemTexts(plan)) << c.name;
        EXPECT_TRUE(plan.books.empty()) << c.name;
    }
}

// What Excel on a Japanese Windows saves: code page 932, with trail bytes
// 0x5C and a quoted field.
TEST(CatalogueCsv, ExcelsCodePage932FileImports)
{
    const ImportPlan plan = PlanCatalogueImport(
        Cp932(u8"タイトル,著者,出版社,発売日,ISBN\r\n表示ソフト入門,山田 太郎,技術評論社,2014/5/20,978-4-7741-1958-8\r\n"
              u8"\"能\"\"面\"\",ソ\",,,,\r\n"));
    ASSERT_EQ(2u, plan.books.size());
    EXPECT_EQ((std::vector<std::string>{u8"表示ソフト入門", "", u8"山田 太郎", "", "2014", "5", u8"技術評論社", "", "", "",
                                        "978-4-7741-1958-8"}),
              Values(plan.books[0]));
    EXPECT_EQ(u8"能\"面\",ソ", plan.books[1].BookName);
}

TEST(CatalogueCsv, CopiesByIsbnInTheCatalogueOrEarlierInTheFile)
{
    const BookList catalogue = Records({MakeFields("猫", 1)});  // 9784003101018
    const std::vector<BookFields> planned = {
        Book("a", "", "4-00-310101-4"),  Book("b", "", "978-4-7741-1958-8"), Book("c", "", ""),
        Book("d", "", "not an ISBN"),    Book("e", "", "477411958X"),         Book("f", "", ""),
        Book("g", "", "not an ISBN"),    Book("h", "", "978 4 00 310101 8"),
    };
    const std::vector<bool> copies = FindCopies(catalogue, planned);
    EXPECT_EQ((std::vector<bool>{true, false, false, false, true, false, false, true}), copies);
    std::string kept;
    for (const BookFields& book : LeaveOutCopies(planned, copies)) kept += book.BookName;
    EXPECT_EQ("bcdfg", kept);
}

TEST(CatalogueCsv, ProgressReachesTheWholeNowAndThen)
{
    const std::size_t count = 3 * kProgressInterval + 5;
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    auto record = [&reports](std::size_t done, std::size_t total) { reports.emplace_back(done, total); };
    const std::string file = FormatCatalogueCsv(Records(std::vector<BookFields>(count, Book("T", "A", ""))), record);
    for (const ProgressReport& step : {ProgressReport(), ProgressReport(record)}) {
        ASSERT_EQ(count, PlanCatalogueImport(file, step).books.size());
    }
    ASSERT_EQ(8u, reports.size());
    EXPECT_EQ(std::make_pair(count, count), reports[3]);
    EXPECT_EQ(std::make_pair(file.size() - kBom.size(), file.size() - kBom.size()), reports.back());
    for (std::size_t i = 1; i < reports.size(); ++i)
        if (i != 4) EXPECT_LT(reports[i - 1].first, reports[i].first) << i;
}

}  // namespace
