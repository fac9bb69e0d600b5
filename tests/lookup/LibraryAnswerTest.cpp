#include <gtest/gtest.h>

#include "lookup/AnswerTestSupport.h"
#include "lookup/LibraryAnswer.h"
#include "resources/resource.h"
#include "support/CaseName.h"

namespace {

using Writes = std::vector<std::pair<int, std::string>>;

const char kUtf8[] = R"(<?xml version="1.0" encoding="UTF-8"?>)";

std::string Rss(const std::string& items, const std::string& dc = "dc", const std::string& declaration = kUtf8)
{
    return declaration + R"(<rss version="2.0" xmlns:)" + dc + R"(="http://purl.org/dc/elements/1.1/" )"
           R"(xmlns:dcndl="http://ndl.go.jp/dcndl/terms/" xmlns:dcterms="http://purl.org/dc/terms/" )"
           R"(xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"><channel><title>t</title>)" + items +
           "</channel></rss>";
}

std::string Item(const std::string& elements, const std::string& isbn = "978-4-408-63280-3", const std::string& dc = "dc")
{
    const std::string identifier = "<" + dc + R"(:identifier xsi:type="dcndl:)";
    return "<item><title>RSS title</title>" + elements + identifier + R"(JPNO">22222222</)" + dc + ":identifier>" +
           identifier + R"(ISBN">)" + isbn + "</" + dc + ":identifier></item>";
}

const std::string kNatsume = "<dc:title>坊っちゃん</dc:title><dcndl:titleTranscription>ボッチャン</dcndl:titleTranscription>"
                             "<dc:creator>夏目, 漱石, 1867-1916</dc:creator><dcndl:creatorTranscription>ナツメ, ソウセキ"
                             "</dcndl:creatorTranscription><dc:publisher>新潮社</dc:publisher>"
                             "<dcterms:issued>2003.4</dcterms:issued><dc:date>1999</dc:date>";
const Writes kNatsumeWrites = {{IDC_BOOK_NAME, "坊っちゃん"}, {IDC_BOOK_NAME_KANA, "ボッチャン"}, {IDC_AUTHOR, "夏目漱石"},
                               {IDC_AUTHOR_KANA, "ナツメ ソウセキ"}, {IDC_YEAR, "2003"}, {IDC_MONTH, "4"},
                               {IDC_PUBLISHER, "新潮社"}};

struct LibraryCase {
    const char* name;
    std::string answer;
    Writes writes;  // nothing written: not found
};

const LibraryCase kCases[] = {
    {"readings, life dates, issued before date", Rss(Item(kNatsume)), kNatsumeWrites},
    {"authors with fewer readings, a volume, a bracketed date, a publisher with a role",
     Rss(Item("<dc:title>手帳</dc:title><dcndl:volume>上</dcndl:volume><dc:creator>柊, ゆたか, 1981-</dc:creator>"
              "<dc:creator>中右 貴久</dc:creator><dcndl:creatorTranscription>ナカウ, タカヒサ</dcndl:creatorTranscription>"
              "<dc:publisher>メディアパル (発売)</dc:publisher><dc:publisher>スタイル</dc:publisher>"
              "<dcndl:publisherTranscription>メディアパル</dcndl:publisherTranscription>"
              "<dcterms:issued>[2022.9]</dcterms:issued>")),
     {{IDC_BOOK_NAME, "手帳 上"}, {IDC_AUTHOR, "柊ゆたか"}, {IDC_YEAR, "2022"}, {IDC_MONTH, "9"},
      {IDC_PUBLISHER, "メディアパル"}, {IDC_PUBLISHER_KANA, "メディアパル"}}},
    {"the date when nothing is issued, a Latin name in its order",
     Rss(Item("<dc:title>Kokoro</dc:title><dc:creator>Natsume, Sōseki, 1867-1916</dc:creator><dc:date>2016-03</dc:date>")),
     {{IDC_BOOK_NAME, "Kokoro"}, {IDC_AUTHOR, "Natsume, Sōseki"}, {IDC_YEAR, "2016"}, {IDC_MONTH, "03"}}},
    {"no item", Rss(""), {}},
    {"the first item of the ISBN, asked as 13 digits and given as 10",
     Rss(Item("<dc:title>Other</dc:title>", "4-10-101001-X") + Item(kNatsume, "4-408-63280-X") +
         Item("<dc:title>Later</dc:title>")),
     kNatsumeWrites},
    {"prefixes as the answer declares them", Rss(Item("<d:title>T</d:title><dc:title>U</dc:title>", "9784408632803", "d"), "d"),
     {{IDC_BOOK_NAME, "T"}}},
    {"not XML", R"({"items":[]})", {}},
    {"cut short", Rss(Item(kNatsume)).substr(0, 400), {}},
    {"a DOCTYPE with an entity", Rss(Item("<dc:title>&t;</dc:title>"), "dc", R"(<!DOCTYPE rss [<!ENTITY t "T">]>)"), {}},
    {"text that is not UTF-8",
     Rss(Item("<dc:title>\x96\x56\x82\xc1</dc:title>"), "dc", R"(<?xml version="1.0" encoding="Shift_JIS"?>)"), {}},
};

class LibraryAnswerMapping : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(LibraryAnswerMapping, WritesTheRecordOfTheIsbnAsked)
{
    const LibraryCase& c = GetParam();
    const LibraryAnswerWrites mapped = MapLibraryAnswer(c.answer, "9784408632803");
    EXPECT_EQ(Written(mapped.writes), c.writes);
    EXPECT_EQ(mapped.titled, !c.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, LibraryAnswerMapping, ::testing::ValuesIn(kCases),
                         CaseName<::testing::TestParamInfo<LibraryCase>>);

}  // namespace
