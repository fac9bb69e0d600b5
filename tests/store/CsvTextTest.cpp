#include <algorithm>
#include <string>
#include <vector>
#include "store/CsvText.h"
#include "support/Catalogues.h"
#include "support/GTestWin32.h"

namespace {

// The records read, each as its line and its fields, "1[a|b]", followed
// by "!" and the line of its error.
std::string Read(const std::string& text)
{
    std::string read;
    for (const CsvRecord& record : ReadCsv(text)) {
        read += std::to_string(record.line) + "[";
        for (std::size_t i = 0; i < record.fields.size(); ++i) read += (i > 0 ? "|" : "") + record.fields[i];
        read += "]";
        if (record.error) read += "!" + std::to_string(record.error->line);
    }
    return read;
}

TEST(CsvText, RecordsTheirLinesAndTheirFaults)
{
    const struct {
        std::string text, read;
    } cases[] = {
        {"a,b\r\nc,d\r\n", "1[a|b]2[c|d]"},
        {"a,b\nc,d", "1[a|b]2[c|d]"},
        {"a\rb\r\rc", "1[a]2[b]4[c]"},
        {"\r\n\na\n\r\n\nb\n\n", "3[a]6[b]"},
        {",a,,\n,", "1[|a||]2[|]"},
        {"\"a,b\",\"say \"\"hi\"\"\",\"\"\"\"", "1[a,b|say \"hi\"|\"]"},
        {"\"1\r\n2\n3\r4\",x\r\ny", "1[1\r\n2\n3\r4|x]5[y]"},
        {"a\"b,c\"", "1[a\"b|c\"]"},
        {"\"\"\n\"\",\"\"", "1[]2[|]"},
        {" a , b ", "1[ a | b ]"},
        {u8"書名,📚 \"x\",김영하", u8"1[書名|📚 \"x\"|김영하]"},
        {"a\n\"b\nc,d\n", "1[a]2[b\nc,d\n]!2"},
        {"a\n\"b\"c,d\ne", "1[a]2[b]!23[e]"},
        {"\"x\ny\" z\nw", "1[x\ny]!23[w]"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.read, Read(c.text)) << c.text;
    EXPECT_EQ(CsvError::UnclosedQuote, ReadCsv("\"a")[0].error->error);
    EXPECT_EQ(CsvError::TextAfterQuote, ReadCsv("\"a\"b")[0].error->error);
}

TEST(CsvText, WriterQuotesOnlyWhatNeedsItAndReadsBack)
{
    const std::vector<std::vector<std::string>> rows = {
        {"plain", "a,b", "say \"hi\"", "two\r\nlines", "lf\n", "cr\r", "", " sp "}, {""}, {u8"書名", "\"\""}};
    const std::string text = FormatCsv(rows);
    EXPECT_EQ(u8"plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"lf\n\",\"cr\r\",, sp \r\n\"\"\r\n書名,\"\"\"\"\"\"\r\n",
              text);
    std::vector<std::vector<std::string>> read;
    for (const CsvRecord& record : ReadCsv(text)) read.push_back(record.fields);
    EXPECT_EQ(rows, read);
}

TEST(CsvText, DecodingUtf8OrCodePage932AndTheLinesOfNeither)
{
    const std::string bom(kUtf8ByteOrderMark);
    const struct {
        std::string bytes, text;  // the text when there are no errors
        CsvEncoding encoding;
        std::vector<std::size_t> lines;
        CsvError error;
    } cases[] = {
        {bom + u8"書名\r\n表示", u8"書名\r\n表示", CsvEncoding::Utf8},
        {u8"書名,김영하", u8"書名,김영하", CsvEncoding::Utf8},
        {Cp932(u8"書名,表示ソ\r\n能,ｱｲｳ"), u8"書名,表示ソ\r\n能,ｱｲｳ", CsvEncoding::Cp932},
        {bom + "a\n" + Cp932(u8"表示") + "\nb\n\xFF", "", {}, {2, 4}, CsvError::NotUtf8},
        {"a\r\n\x82\r\nb\n\x81\xFF", "", {}, {2, 4}, CsvError::Undecodable},
        {u8"書名\nx\n" + Cp932(u8"表示"), "", {}, {3}, CsvError::MixedEncodings},
        {std::string("a\nb\0c\r\rd\0", 9), "", {}, {2, 4}, CsvError::NulByte},
        {std::string("\xFF\xFE" "a\0b\0", 6), "", {}, {1}, CsvError::Utf16},
    };
    for (const auto& c : cases) {
        const DecodedCsv decoded = DecodeCsvBytes(c.bytes);
        std::vector<std::size_t> lines;
        for (const CsvErrorAt& error : decoded.errors) {
            lines.push_back(error.line);
            EXPECT_EQ(c.error, error.error) << c.bytes;
        }
        EXPECT_EQ(c.lines, lines) << c.bytes;
        EXPECT_EQ(c.text, decoded.text) << c.bytes;
        if (lines.empty()) EXPECT_EQ(c.encoding, decoded.encoding) << c.bytes;
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
    EXPECT_FALSE(ReadCsv(random).empty());

    EXPECT_TRUE(ReadCsv(std::string(1000000, '\n') + std::string(1000000, '\r')).empty());
    const std::string longLine(8 << 20, 'x');
    EXPECT_EQ("1[" + longLine + "]2[" + longLine + "]", Read(longLine + "\n\"" + longLine + "\"\n"));

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
