#include <gtest/gtest.h>

#include <random>

#include "lookup/AnswerTestSupport.h"
#include "lookup/LibraryAnswer.h"
#include "resources/resource.h"
#include "support/CaseName.h"

namespace {

using Writes = std::vector<std::pair<int, std::string>>;

const char kAsked[] = "9784408632803";

const char kUtf8[] = R"(<?xml version="1.0" encoding="UTF-8"?>)";

std::string Rss(const std::string& items, const std::string& prefix = "dc", const std::string& declaration = kUtf8)
{
    return declaration + R"(<rss version="2.0" xmlns:)" + prefix +
           R"(="http://purl.org/dc/elements/1.1/" xmlns:dcndl="http://ndl.go.jp/dcndl/terms/" )"
           R"(xmlns:dcterms="http://purl.org/dc/terms/" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">)"
           "<channel><title>t</title>" + items + "</channel></rss>";
}

std::string Identified(const std::string& elements, const std::string& isbn = "978-4-408-63280-3",
                       const std::string& dc = "dc")
{
    return "<item><title>RSS title</title><author>RSS author</author>" + elements + "<" + dc +
           R"(:identifier xsi:type="dcndl:JPNO">22222222</)" + dc + ":identifier><" + dc +
           R"(:identifier xsi:type="dcndl:ISBN">)" + isbn + "</" + dc + ":identifier></item>";
}

const std::string kNatsume = "<dc:title>坊っちゃん</dc:title><dcndl:titleTranscription>ボッチャン</dcndl:titleTranscription>"
                             "<dc:creator>夏目, 漱石, 1867-1916</dc:creator>"
                             "<dcndl:creatorTranscription>ナツメ, ソウセキ</dcndl:creatorTranscription>"
                             "<dc:publisher>新潮社</dc:publisher><dcterms:issued>2003.4</dcterms:issued>"
                             "<dc:date>1999</dc:date>";
const Writes kNatsumeWrites = {{IDC_BOOK_NAME, "坊っちゃん"}, {IDC_BOOK_NAME_KANA, "ボッチャン"},
                               {IDC_AUTHOR, "夏目漱石"},    {IDC_AUTHOR_KANA, "ナツメ ソウセキ"},
                               {IDC_YEAR, "2003"},          {IDC_MONTH, "4"},
                               {IDC_PUBLISHER, "新潮社"}};

struct LibraryCase {
    const char* name;
    std::string answer;
    Writes writes;
    bool titled;
};

const LibraryCase kCases[] = {
    {"readings, life dates, issued before date", Rss(Identified(kNatsume)), kNatsumeWrites, true},
    {"several authors with fewer readings, a volume, a bracketed date, a publisher with a role",
     Rss(Identified("<dc:title>はじめての手帳</dc:title><dcndl:volume>上</dcndl:volume>"
                    "<dc:creator>柊, ゆたか, 1981-</dc:creator><dc:creator>中右 貴久</dc:creator>"
                    "<dcndl:creatorTranscription>ナカウ, タカヒサ</dcndl:creatorTranscription>"
                    "<dc:publisher>メディアパル (発売)</dc:publisher><dc:publisher>スタイル</dc:publisher>"
                    "<dcndl:publisherTranscription>メディアパル</dcndl:publisherTranscription>"
                    "<dcterms:issued>[2022.9]</dcterms:issued>")),
     {{IDC_BOOK_NAME, "はじめての手帳 上"}, {IDC_AUTHOR, "柊ゆたか"}, {IDC_YEAR, "2022"}, {IDC_MONTH, "9"},
      {IDC_PUBLISHER, "メディアパル"}, {IDC_PUBLISHER_KANA, "メディアパル"}},
     true},
    {"date when nothing is issued, a Latin name keeps its order",
     Rss(Identified("<dc:title>Kokoro</dc:title><dc:creator>Natsume, Sōseki, 1867-1916</dc:creator>"
                    "<dc:date>2016-03</dc:date>")),
     {{IDC_BOOK_NAME, "Kokoro"}, {IDC_AUTHOR, "Natsume, Sōseki"}, {IDC_YEAR, "2016"}, {IDC_MONTH, "03"}}, true},
    {"year alone", Rss(Identified("<dc:title>T</dc:title><dcterms:issued>2012</dcterms:issued>")),
     {{IDC_BOOK_NAME, "T"}, {IDC_YEAR, "2012"}}, true},
    {"a date that is no date", Rss(Identified("<dc:title>T</dc:title><dcterms:issued>平成24</dcterms:issued>")),
     {{IDC_BOOK_NAME, "T"}}, true},
    {"no title", Rss(Identified("<dc:creator>A</dc:creator>")), {{IDC_AUTHOR, "A"}}, false},
    {"no item", Rss(""), {}, false},
    {"only another ISBN's item", Rss(Identified(kNatsume, "978-4-10-101001-4")), {}, false},
    {"the first item of the ISBN, asked as 13 digits, given as 10",
     Rss(Identified("<dc:title>Other</dc:title>", "4-10-101001-X") + Identified(kNatsume, "4-408-63280-X") +
         Identified("<dc:title>Later</dc:title>")),
     kNatsumeWrites, true},
    {"ISBN given as another type", Rss("<item><dc:title>T</dc:title><dc:identifier>9784408632803</dc:identifier></item>"),
     {}, false},
    {"prefixes as the answer declares them",
     Rss(Identified("<d:title>T</d:title><dc:title>not Dublin Core</dc:title>", kAsked, "d"), "d"),
     {{IDC_BOOK_NAME, "T"}}, true},
    {"not XML", R"({"items":[]})", {}, false},
    {"cut short", Rss(Identified(kNatsume)).substr(0, 400), {}, false},
    {"a DOCTYPE with an entity",
     Rss(Identified("<dc:title>&t;</dc:title>"), "dc", R"(<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY t "T">]>)"),
     {}, false},
    {"text that is not UTF-8",
     Rss(Identified("<dc:title>\x96\x56\x82\xc1</dc:title>"), "dc", R"(<?xml version="1.0" encoding="Shift_JIS"?>)"),
     {}, false},
};

class LibraryAnswerMapping : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(LibraryAnswerMapping, WritesTheRecordOfTheIsbnAsked)
{
    const LibraryCase& c = GetParam();
    const LibraryAnswerWrites mapped = MapLibraryAnswer(c.answer, kAsked);
    EXPECT_EQ(Written(mapped.writes), c.writes);
    EXPECT_EQ(mapped.titled, c.titled);
}

INSTANTIATE_TEST_SUITE_P(Answers, LibraryAnswerMapping, ::testing::ValuesIn(kCases),
                         CaseName<::testing::TestParamInfo<LibraryCase>>);

TEST(LibraryAnswerMapping, FillsOnlyEmptyBoxesAndAYearOrMonthOfZero)
{
    EXPECT_TRUE(LibraryMayFill(IDC_BOOK_NAME_KANA, u""));
    EXPECT_FALSE(LibraryMayFill(IDC_BOOK_NAME_KANA, u" "));
    EXPECT_TRUE(LibraryMayFill(IDC_YEAR, u"0"));
    EXPECT_TRUE(LibraryMayFill(IDC_MONTH, u"0"));
    EXPECT_FALSE(LibraryMayFill(IDC_MONTH, u"4"));
    EXPECT_FALSE(LibraryMayFill(IDC_PUBLISHER, u"0"));
}

// Damaged answers, from a fixed seed: never a crash or a read outside the
// text (the program is built with the address sanitizer), and never more
// than the boxes of one record.
TEST(LibraryAnswerMapping, DamagedAnswersAreMappedWithoutHarm)
{
    std::mt19937 random(2003);
    auto below = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const std::string answer = Rss(Identified(kNatsume) + Identified(kNatsume, "4-408-63280-X"));
    const char noise[] = "<>/&;\"= \x80\xbf\xe3\xff\0";
    for (int i = 0; i < 5000; ++i) {
        std::string text = answer;
        for (std::size_t edits = 1 + below(4); edits > 0 && !text.empty(); --edits) {
            const std::size_t at = below(text.size());
            switch (below(3)) {
            case 0: text[at] = noise[below(sizeof noise)]; break;
            case 1: text.insert(at, 1, noise[below(sizeof noise)]); break;
            default: text.erase(at, 1 + below(8)); break;
            }
        }
        const LibraryAnswerWrites mapped = MapLibraryAnswer(text, kAsked);
        ASSERT_LE(mapped.writes.size(), 8u) << text;
        ASSERT_TRUE(mapped.writes.empty() || mapped.titled || mapped.writes[0].boxId != IDC_BOOK_NAME) << text;
    }
}

}  // namespace
