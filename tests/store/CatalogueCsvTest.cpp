#include "StoreTestSupport.h"

#include "store/CatalogueCsv.h"
#include "support/Catalogues.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
using Texts = std::vector<std::string>;

Texts ProblemTexts(const ImportPlan& plan)
{
    Texts texts;
    for (const ImportProblem& problem : plan.problems) texts.push_back(ImportProblemText(problem));
    return texts;
}

Texts Values(const BookFields& book)
{
    return Describe(BookData(book));
}

ImportPlan Plan(std::string file, const ProgressReport& progress = {})
{
    return PlanCatalogueImport(std::move(file), BookList(), progress);
}

TEST(CatalogueCsv, ExportWritesTheHeaderAndEveryBookWhole)
{
    const BookFields odd{"=1+2", "", "O'Brien, \"Flann\"", "", -660, 0, "", "", "棚\r\n上", "", "", 3};
    EXPECT_EQ(kBom + u8"書名,書名(カナ),著者,著者(カナ),発行年,発行月,出版者,出版者(カナ),場所,場所(カナ),ISBN\r\n"
                  u8"吾輩は猫である,ショメイ,夏目漱石,ナツメソウセキ,1906,4,岩波書店,イワナミショテン,本棚1,ホンダナ,"
                  u8"9784003101018\r\n'=1+2,,\"O'Brien, \"\"Flann\"\"\",,-660,,,,\"棚\r\n上\",,\r\n",
              FormatCatalogueCsv(Records({MakeFields("吾輩は猫である", 12), odd})));
}

TEST(CatalogueCsv, FormulaStartsGetAnApostropheThatTheImportTakesOff)
{
    const struct {
        const char *text, *written;
    } cases[] = {
        {"=SUM(A1)", "'=SUM(A1)"}, {"+81 3", "'+81 3"}, {"-", "'-"},     {"@x", "'@x"},     {"\tx", "'\tx"},
        {"\rx", "'\rx"},           {"'=x", "''=x"},     {"''-y", "'''-y"}, {"'plain", "'plain"}, {"'", "'"},
        {"a=b", "a=b"},            {"", ""},
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
    const ImportPlan plan = Plan(FormatCatalogueCsv(Records(books)));
    EXPECT_EQ(Texts{}, ProblemTexts(plan));
    EXPECT_TRUE(plan.ignoredColumns.empty());
    ASSERT_EQ(books.size(), plan.books.size());
    for (std::size_t i = 0; i < books.size(); ++i) EXPECT_EQ(Values(books[i]), Values(plan.books[i]->Fields())) << i;
}

TEST(CatalogueCsv, ColumnsFoundByTheNamesOtherProgramsUse)
{
    const struct {
        std::string file;
        BookFields book;
        Texts ignored;
    } cases[] = {
        {u8"ISBN,発行月,書名\r\n978-4,7,T", {"T", "", "", "", 0, 7, "", "", "", "", "978-4"}, {}},
        {u8"タイトル,著者名,出版社,発売日,ISBN-13,メモ,\r\nT,A,P,2014/05/20,9784003101018,m,",
         {"T", "", "A", "", 2014, 5, "P", "", "", "", "9784003101018"}, {u8"メモ"}},
        {u8"作者,出版社名,発行日,出版年,題名\r\nA,P,2014年5月,1999,T", {"T", "", "A", "", 1999, 5, "P"}, {}},
        {u8"ＩＳＢＮ－１０, 書名（カナ） ,書名,著者カナ,出版社ヨミ,保管場所,場所カナ\r\n1,K,T,AK,PK,S,SK",
         {"T", "K", "", "AK", 0, 0, "", "PK", "S", "SK", "1"}, {}},
        {u8"タイトル,書名,書名\r\nA,B,C", {"B"}, {u8"タイトル", u8"書名"}},
    };
    for (const auto& c : cases) {
        const ImportPlan plan = Plan(c.file);
        EXPECT_EQ(Texts{}, ProblemTexts(plan)) << c.file;
        EXPECT_EQ(c.ignored, plan.ignoredColumns) << c.file;
        ASSERT_EQ(1u, plan.books.size()) << c.file;
        EXPECT_EQ(Values(c.book), Values(plan.books[0]->Fields())) << c.file;
    }
}

TEST(CatalogueCsv, YearsMonthsAndDates)
{
    const struct {
        const char *column, *value, *read;  // read: "year/month", or empty for a problem
    } cases[] = {
        {"発売日", "2014/05/20", "2014/5"}, {"発売日", "2014-05", "2014/5"},      {"発売日", "2014年5月20日", "2014/5"},
        {"発売日", "2014年5月", "2014/5"},  {"発売日", "2014.5.20", "2014/5"},    {"発売日", "20140520", "2014/5"},
        {"発売日", "201405", "2014/5"},     {"発売日", "2014/5/20 0:00", "2014/5"}, {"発売日", " 2014 ", "2014/0"},
        {"発売日", "", "0/0"},              {"発売日", "2014/13/01", ""},         {"発売日", "平成26年", ""},
        {"発売日", "2014/5-20", ""},        {"発売日", "12345", ""},              {"発売日", "2014年5", ""},
        {"発行年", " 2014\t", "2014/0"},    {"発行年", "-660", "-660/0"},         {"発行年", u8"　1999　", "1999/0"},
        {"発行月", "+5", "0/5"},            {"発行年", "2014年", ""},             {"発行年", "1.5", ""},
        {"発行月", "99999999999", ""},      {"発行年", "-", ""},
    };
    for (const auto& c : cases) {
        const ImportPlan plan = Plan(std::string("書名,") + c.column + "\r\nT,\"" + c.value + "\"");
        const std::string read = plan.books.empty() ? std::string()
                                                    : std::to_string(plan.books[0]->GetYear()) + "/" + std::to_string(plan.books[0]->GetMonth());
        EXPECT_EQ(c.read, read) << c.column << " " << c.value;
        EXPECT_EQ(read.empty() ? 1u : 0u, plan.problemCount) << c.column << " " << c.value;
    }
}

// Nothing is planned from a file with any problem; each names its line.
TEST(CatalogueCsv, ProblemsNamedByLine)
{
    const struct {
        std::string file;
        Texts problems;
    } cases[] = {
        {u8"書名,発行年,発売日\r\nA,2014,\r\n,2014,\r\nB,二〇一四,2014/5/1\r\nC,2014,,x\r\n,,\r\nD\r\nE,,5月\r\n\"F,1\r\n",
         {u8"3行目: 書名がありません", u8"4行目: 発行年「二〇一四」が整数ではありません",
          u8"5行目: 項目が見出しより多くあります（見出しは3項目、この行は4項目）",
          u8"8行目: 発売日「5月」が日付として読めません", u8"9行目: 引用符（\"）が閉じていません"}},
        {u8"著者,ISBN\r\nA,1", {u8"1行目: 書名の列がありません（見出しに「書名」か「タイトル」の列が要ります）"}},
        {kBom + "\r\n\n", {u8"見出しの行がありません"}},
        {"\"書名\r\nA", {u8"1行目: 引用符（\"）が閉じていません"}},
        {"\r\n書名\r\n\x82\r\n", {u8"3行目: UTF-8としてもShift_JISとしても読めないバイトがあります"}},
    };
    for (const auto& c : cases) {
        const ImportPlan plan = Plan(c.file);
        EXPECT_EQ(c.problems, ProblemTexts(plan)) << c.file;
        EXPECT_TRUE(plan.books.empty()) << c.file;
    }
    EXPECT_EQ(u8"3行目: 書名がありません\r\n4行目: 発行年「二〇一四」が整数ではありません\r\nほかに3件の誤りがあります",
              ImportProblemsMessage(Plan(cases[0].file), 2));

    std::string many = "書名\r\n";
    for (int i = 0; i < 100; ++i) many += "\"x\"y\r\n";
    const ImportPlan manyPlan = Plan(many);
    EXPECT_EQ(100u, manyPlan.problemCount);
    ASSERT_EQ(kImportProblemsKept, manyPlan.problems.size());
    EXPECT_EQ(21u, manyPlan.problems.back().line);
}

// What Excel on a Japanese Windows saves: code page 932, trail bytes 0x5C.
TEST(CatalogueCsv, ExcelsCodePage932FileImports)
{
    const ImportPlan plan = Plan(
        Cp932(u8"タイトル,著者,出版社,発売日,ISBN\r\n表示ソフト入門,山田 太郎,技術評論社,2014/5/20,978-4-7741-1958-8\r\n"
              u8"\"能\"\"面\"\",ソ\",,,,\r\n"));
    ASSERT_EQ(2u, plan.books.size());
    EXPECT_EQ(Values({u8"表示ソフト入門", "", u8"山田 太郎", "", 2014, 5, u8"技術評論社", "", "", "", "978-4-7741-1958-8"}),
              Values(plan.books[0]->Fields()));
    EXPECT_EQ(u8"能\"面\",ソ", plan.books[1]->GetBookName());
}

TEST(CatalogueCsv, NewIdsAfterTheLargest)
{
    const std::string file = u8"書名\r\nA\r\nB\r\n";
    const ImportPlan plan = PlanCatalogueImport(file, Records({MakeFields("既存", 41), MakeFields("前", 7)}));
    ASSERT_EQ(2u, plan.books.size());
    EXPECT_EQ(std::make_pair(BookId{42}, BookId{43}), std::make_pair(plan.books[0]->GetID(), plan.books[1]->GetID()));
    BookFields last{"最後"};
    last.ID = INT64_MAX - 1;
    EXPECT_EQ(1u, PlanCatalogueImport(u8"書名\r\nA\r\n", Records({last})).books.size());
    EXPECT_EQ(Texts{u8"書籍IDが上限に達したため、これ以上追加できません"},
              ProblemTexts(PlanCatalogueImport(file, Records({last}))));
}

TEST(CatalogueCsv, CopiesByIsbnInTheCatalogueOrEarlierInTheFile)
{
    BookList planned;
    for (const char* isbn : {"4-00-310101-4", "978-4-7741-1958-8", "", "no ISBN", "477411958X", "", "no ISBN",
                             "978 4 00 310101 8"})
        planned.push_back(MakeBook({"t", "", "", "", 0, 0, "", "", "", "", isbn}));
    const std::vector<bool> copies = FindCopies(Records({MakeFields("猫", 1)}), planned);  // 9784003101018
    EXPECT_EQ((std::vector<bool>{true, false, false, false, true, false, false, true}), copies);
    EXPECT_EQ(5u, LeaveOutCopies(planned, copies).size());
}

// Books formatted, then bytes read: every so many rows, and the whole.
TEST(CatalogueCsv, ProgressReachesTheWholeNowAndThen)
{
    const std::size_t count = 3 * kProgressInterval + 5;
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    auto record = [&reports](std::size_t done, std::size_t total) { reports.emplace_back(done, total); };
    const std::string file = FormatCatalogueCsv(Records(std::vector<BookFields>(count, BookFields{"T"})), record);
    ASSERT_EQ(count, Plan(file, record).books.size());
    const std::size_t text = file.size() - kBom.size(), row = std::string("T,,,,,,,,,,\r\n").size();
    ASSERT_EQ(8u, reports.size());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::make_pair(std::min(count, (i + 1) * kProgressInterval), count), reports[i]);
        EXPECT_EQ(std::make_pair(text - (count - std::min(count, (i + 1) * kProgressInterval)) * row, text), reports[4 + i]);
    }
}

}  // namespace
