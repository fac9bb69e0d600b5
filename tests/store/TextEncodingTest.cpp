#include <windows.h>
#include <optional>
#include <string>
#include "store/TextEncoding.h"
#include "support/GTestWin32.h"

namespace {

// Literals of this file are compiled to code page 932; u8 ones stay UTF-8.
struct Pair {
    const char* name;
    std::string ansi;
    std::string utf8;
};

TEST(TextEncoding, RunsUnderCodePage932)
{
    ASSERT_EQ(932u, GetACP());
}

TEST(TextEncoding, ConvertsBothWays)
{
    const Pair cases[] = {
        {"empty", "", ""},
        {"title", "\x8F\x91\x96\xBC", "\xE6\x9B\xB8\xE5\x90\x8D"},
        {"literal", "書名", u8"書名"},
        {"apostrophe", "O'Brien", "O'Brien"},
        {"two quotes", "''", "''"},
        {"kana and quote", "ナツメ'ソウセキ", u8"ナツメ'ソウセキ"},
        {"trail bytes 0x5C", "表示ソ\\", u8"表示ソ\\"},
        {"half-width kana", "\xB6\xC5", u8"ｶﾅ"},
        {"mixed", "ISBN 978-4-00-310101-8 岩波文庫", u8"ISBN 978-4-00-310101-8 岩波文庫"},
    };
    for (const Pair& c : cases) {
        EXPECT_EQ(c.utf8, AnsiToUtf8(c.ansi)) << c.name;
        EXPECT_EQ(c.ansi, Utf8ToAnsi(c.utf8)) << c.name;
    }
    EXPECT_EQ(std::string("\x95\x5C\x8E\xA6"), std::string("表示"));
}

// What the version upgrade asks of a stored text: is it code page 932
// (converted as AnsiToUtf8 converts it), is it UTF-8.
TEST(TextEncoding, StrictCodePageAndUtf8Checks)
{
    const struct {
        const char* name;
        std::string text;
        std::optional<std::string> strict;
        bool utf8;
    } cases[] = {
        {"empty", "", std::string(), true},
        {"code page 932", "表示ソ", std::string(u8"表示ソ"), false},
        {"UTF-8 Japanese", u8"紀元前の書", std::nullopt, true},
        {"lone lead byte", "\x82", std::nullopt, false},
        {"half-width kana that are also UTF-8", "\xC3\xBD", std::string(u8"ﾃｽ"), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.strict.has_value(), IsAnsiText(c.text)) << c.name;
        if (c.strict) EXPECT_EQ(*c.strict, AnsiToUtf8(c.text)) << c.name;
        EXPECT_EQ(c.utf8, IsUtf8Text(c.text)) << c.name;
    }
}

TEST(TextEncoding, LongTextsRoundTrip)
{
    std::string ansi;
    for (int i = 0; i < 5000; ++i) ansi += "吾輩は猫である'";
    EXPECT_EQ(ansi, Utf8ToAnsi(AnsiToUtf8(ansi)));
}

// Short texts take a quicker way than long ones; half-width kana grow the
// most (one byte in code page 932, three in UTF-8), around the switch.
TEST(TextEncoding, TextsAroundTheShortLimitConvertWhole)
{
    for (size_t length : {510u, 511u, 512u, 513u, 1024u}) {
        const std::string ansi(length, '\xB6');
        std::string utf8;
        for (size_t i = 0; i < length; ++i) utf8 += u8"ｶ";
        EXPECT_EQ(utf8, AnsiToUtf8(ansi)) << length;
        EXPECT_EQ(ansi, Utf8ToAnsi(utf8)) << length;
    }
}

TEST(TextEncoding, CharacterMissingFromCodePageBecomesDefaultCharacter)
{
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(932, &info));
    const std::string fallback(1, static_cast<char>(info.DefaultChar[0]));
    const std::string hangul = "\xED\x95\x9C";  // U+D55C, not in code page 932
    EXPECT_EQ("A" + fallback + "B", Utf8ToAnsi("A" + hangul + "B"));
    EXPECT_EQ("本" + fallback + "棚", Utf8ToAnsi(u8"本" + hangul + u8"棚"));
}

TEST(TextEncoding, InvalidInputIsReplacedNotRejected)
{
    // A lone lead byte at the end, and bytes that are not UTF-8.
    EXPECT_FALSE(AnsiToUtf8("abc\x8F").empty());
    EXPECT_EQ(0u, AnsiToUtf8("abc\x8F").find("abc"));
    std::string ansi = Utf8ToAnsi("ab\xFF\xFE" "cd");
    EXPECT_EQ(0u, ansi.find("ab"));
    EXPECT_NE(std::string::npos, ansi.find("cd"));
}

// Record texts hold no NUL; one that does must still stay inside the
// buffers, whatever the platform makes of it.
TEST(TextEncoding, EmbeddedNulStaysInsideTheBuffers)
{
    const std::string utf8 = AnsiToUtf8(std::string("ab\0cd", 5));
    EXPECT_EQ(0u, std::string("ab").find(utf8));
    const std::string ansi = Utf8ToAnsi(std::string("\xE6\x9B\xB8\0x", 5));
    EXPECT_EQ(0u, std::string("書").find(ansi));
}

TEST(CutAnsiText, KeepsDoubleByteCharactersWhole)
{
    struct Case {
        std::string text;
        std::size_t maxBytes;
        std::string expected;
    };
    const Case cases[] = {
        {"", 0, ""},
        {"", 255, ""},
        {"abc", 3, "abc"},
        {"abc", 2, "ab"},
        {"abc", 0, ""},
        {"書名", 4, "書名"},
        {"書名", 3, "書"},
        {"書名", 2, "書"},
        {"書名", 1, ""},
        {"a書名", 2, "a"},
        {"a書名", 3, "a書"},
        {"表示", 3, "表"},  // trail byte 0x5C is not a character of its own
        {"ｶﾅ", 1, "\xB6"},   // half-width kana are single bytes
        {"ab\x8F", 3, "ab\x8F"},
        {"abc\x8F", 3, "abc"},
        {std::string("a\0b", 3), 2, std::string("a\0", 2)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CutAnsiText(c.text, c.maxBytes)) << c.text << " / " << c.maxBytes;
}

TEST(CutAnsiText, CutsAtTheListViewLimit)
{
    std::string even;
    for (int i = 0; i < 200; ++i) even += "猫";  // byte 255 would split a character
    EXPECT_EQ(even.substr(0, 254), CutAnsiText(even, 255));
    const std::string odd = "a" + even;         // here a character ends at 255
    EXPECT_EQ(odd.substr(0, 255), CutAnsiText(odd, 255));
}

}  // namespace
