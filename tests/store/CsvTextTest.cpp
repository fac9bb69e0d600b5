#include <algorithm>
#include <string>
#include <vector>
#include "store/CsvText.h"
#include "support/Catalogues.h"
#include "support/GTestWin32.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Fields(const std::vector<CsvRecord>& records)
{
    Rows rows;
    for (const CsvRecord& record : records) rows.push_back(record.fields);
    return rows;
}

std::vector<std::size_t> Lines(const std::vector<CsvRecord>& records)
{
    std::vector<std::size_t> lines;
    for (const CsvRecord& record : records) lines.push_back(record.line);
    return lines;
}

TEST(CsvText, RecordsAndTheLinesTheyStartOn)
{
    const struct {
        const char* name;
        std::string text;
        Rows rows;
        std::vector<std::size_t> lines;
    } cases[] = {
        {"CRLF", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"LF, no last line end", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"lone CR", "a\rb\r\rc", {{"a"}, {"b"}, {"c"}}, {1, 2, 4}},
        {"empty lines skipped", "\r\n\na\n\r\n\nb\n\n", {{"a"}, {"b"}}, {3, 6}},
        {"empty fields", ",a,,\n,", {{"", "a", "", ""}, {"", ""}}, {1, 2}},
        {"quoted comma and quote", "\"a,b\",\"say \"\"hi\"\"\",\"\"\"\"", {{"a,b", "say \"hi\"", "\""}}, {1}},
        {"line ends inside quotes kept", "\"1\r\n2\n3\r4\",x\r\ny", {{"1\r\n2\n3\r4", "x"}, {"y"}}, {1, 5}},
        {"quote inside an unquoted field", "a\"b,c\"", {{"a\"b", "c\""}}, {1}},
        {"empty quoted field", "\"\"\n\"\",\"\"", {{""}, {"", ""}}, {1, 2}},
        {"spaces kept", " a , b ", {{" a ", " b "}}, {1}},
        {"any script", u8"書名,📚 \"x\",김영하", {{u8"書名", u8"📚 \"x\"", u8"김영하"}}, {1}},
    };
    for (const auto& c : cases) {
        const std::vector<CsvRecord> records = ReadCsv(c.text);
        EXPECT_EQ(c.rows, Fields(records)) << c.name;
        EXPECT_EQ(c.lines, Lines(records)) << c.name;
        for (const CsvRecord& record : records) EXPECT_FALSE(record.error) << c.name;
    }
}

TEST(CsvText, FaultsNameTheirLineAndReadingGoesOn)
{
    const struct {
        const char* name;
        std::string text;
        std::size_t faultyRecord, line;
        CsvError error;
        Rows rows;
    } cases[] = {
        {"unclosed quote", "a\n\"b\nc,d\n", 1, 2, CsvError::UnclosedQuote, {{"a"}, {"b\nc,d\n"}}},
        {"text after quote", "a\n\"b\"c,d\ne", 1, 2, CsvError::TextAfterQuote, {{"a"}, {"b"}, {"e"}}},
        {"text after a quote on the field's last line", "\"x\ny\" z\nw", 0, 2, CsvError::TextAfterQuote,
         {{"x\ny"}, {"w"}}},
    };
    for (const auto& c : cases) {
        const std::vector<CsvRecord> records = ReadCsv(c.text);
        EXPECT_EQ(c.rows, Fields(records)) << c.name;
        for (std::size_t i = 0; i < records.size(); ++i) {
            ASSERT_EQ(i == c.faultyRecord, records[i].error.has_value()) << c.name << " " << i;
            if (i == c.faultyRecord) EXPECT_EQ(c.line, records[i].error->line) << c.name;
            if (i == c.faultyRecord) EXPECT_EQ(c.error, records[i].error->error) << c.name;
        }
    }
}

TEST(CsvText, WriterQuotesOnlyWhatNeedsItAndReadsBack)
{
    const Rows rows = {{"plain", "a,b", "say \"hi\"", "two\r\nlines", "lf\n", "cr\r", "", " sp "},
                       {""},
                       {u8"書名", u8"我们的故事", "\"\""}};
    const std::string text = FormatCsv(rows);
    EXPECT_EQ("plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"lf\n\",\"cr\r\",, sp \r\n"
              "\"\"\r\n" +
                  std::string(u8"書名,我们的故事,\"\"\"\"\"\"\r\n"),
              text);
    EXPECT_EQ(rows, Fields(ReadCsv(text)));
}

TEST(CsvText, DecodingUtf8OrCodePage932AndTheLinesOfNeither)
{
    const std::string bom(kUtf8ByteOrderMark);
    const struct {
        const char* name;
        std::string bytes;
        std::string text;  // when no errors
        CsvEncoding encoding;
        std::vector<std::size_t> lines;
        CsvError error;
    } cases[] = {
        {"UTF-8 with BOM", bom + u8"書名\r\n表示", u8"書名\r\n表示", CsvEncoding::Utf8, {}, {}},
        {"UTF-8 without BOM", u8"書名,김영하", u8"書名,김영하", CsvEncoding::Utf8, {}, {}},
        {"code page 932", Cp932(u8"書名,表示ソ\r\n能,ｱｲｳ"), u8"書名,表示ソ\r\n能,ｱｲｳ", CsvEncoding::Cp932, {}, {}},
        {"BOM, then bytes that are no UTF-8", bom + "a\n" + Cp932(u8"表示") + "\nb\n\xFF", "", {}, {2, 4},
         CsvError::NotUtf8},
        {"neither", "a\r\n\x82\r\nb\n\x81\xFF", "", {}, {2, 4}, CsvError::Undecodable},
        {"each line one or the other", std::string(u8"書名\n") + "x\n" + Cp932(u8"表示"), "", {}, {3},
         CsvError::MixedEncodings},
        {"NUL bytes", std::string("a\nb\0c\r\rd\0", 9), "", {}, {2, 4}, CsvError::NulByte},
        {"UTF-16", std::string("\xFF\xFE" "a\0b\0", 6), "", {}, {1}, CsvError::Utf16},
    };
    for (const auto& c : cases) {
        const DecodedCsv decoded = DecodeCsvBytes(c.bytes);
        std::vector<std::size_t> lines;
        for (const CsvErrorAt& error : decoded.errors) {
            lines.push_back(error.line);
            EXPECT_EQ(c.error, error.error) << c.name;
        }
        EXPECT_EQ(c.lines, lines) << c.name;
        EXPECT_EQ(c.text, decoded.text) << c.name;
        if (lines.empty()) EXPECT_EQ(c.encoding, decoded.encoding) << c.name;
    }
}

// Input from anywhere: each gives records or an error, in time that grows
// with its size (the watchdog ends a program that hangs).
TEST(CsvText, GarbageEndsInRecordsOrErrors)
{
    std::string random(1 << 20, '\0');
    unsigned state = 12345;
    for (char& byte : random) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    EXPECT_FALSE(DecodeCsvBytes(random).errors.empty());
    random.erase(std::remove(random.begin(), random.end(), '\0'), random.end());
    std::size_t read = 0;
    for (const CsvRecord& record : ReadCsv(random)) read += record.fieldCount;
    EXPECT_GT(read, 0u);

    EXPECT_TRUE(ReadCsv(std::string(1000000, '\n') + std::string(1000000, '\r')).empty());

    const std::string longLine(8 << 20, 'x');
    const std::vector<CsvRecord> records = ReadCsv(longLine + "\n\"" + longLine + "\"\n");
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(longLine, records[0].fields[0]);
    EXPECT_EQ(longLine, records[1].fields[0]);

    const std::string commas = std::string(8 << 20, ',') + "\na";
    CsvReader reader(commas);
    CsvRecord record;
    ASSERT_TRUE(reader.Next(record, 3));
    EXPECT_EQ(3u, record.fields.size());
    EXPECT_EQ((8u << 20) + 1, record.fieldCount);
    ASSERT_TRUE(reader.Next(record, 3));
    EXPECT_EQ((std::vector<std::string>{"a"}), record.fields);
}

}  // namespace
