#include <windows.h>
#include <string>
#include "store/TextEncoding.h"
#include "support/GTestWin32.h"

namespace {

TEST(TextEncoding, Utf8AndUtf16ConvertBothWays)
{
    const struct {
        const char* name;
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"empty", "", u""},
        {"Japanese, 0x5C in code page 932", u8"表示ソ\\", u"表示ソ\\"},
        {"Latin", u8"L'Étranger, Zoë", u"L'Étranger, Zoë"},
        {"Chinese and Korean", u8"我们的故事 김영하", u"我们的故事 김영하"},
        {"outside the BMP", u8"Reading 📚 together", u"Reading 📚 together"},
        {"embedded NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.utf16, Utf8ToUtf16(c.utf8)) << c.name;
        EXPECT_EQ(c.utf8, Utf16ToUtf8(c.utf16)) << c.name;
    }
    std::string longText;
    for (int i = 0; i < 5000; ++i) longText += u8"吾輩は猫である📚";
    EXPECT_EQ(longText, Utf16ToUtf8(Utf8ToUtf16(longText)));
}

// What no conversion can hold becomes U+FFFD, never a shorter text.
TEST(TextEncoding, InvalidInputBecomesReplacementCharacters)
{
    EXPECT_EQ(u"Zo\uFFFD", Utf8ToUtf16("Zo\xEB"));
    EXPECT_EQ(u8"a\uFFFDb", Utf16ToUtf8(std::u16string{u'a', char16_t(0xD83D), u'b'}));
}

// The texts of a version-0 file, whatever the system's code page: is a
// text code page 932 (and what it reads as), is it UTF-8.
TEST(TextEncoding, CodePage932AndUtf8Checks)
{
    const struct {
        const char* name;
        std::string text;
        bool cp932;
        std::string utf8;  // when cp932
        bool isUtf8;
    } cases[] = {
        {"empty", "", true, "", true},
        {"title", "\x8F\x91\x96\xBC", true, u8"書名", false},
        {"trail bytes 0x5C", "\x95\x5C\x8E\xA6\x83\x5C\x5C", true, u8"表示ソ\\", false},
        {"apostrophe", "O'Brien", true, "O'Brien", true},
        {"UTF-8 Japanese", u8"紀元前の書", false, "", true},
        {"lone lead byte", "\x82", false, "", false},
        {"lead byte at the end", "ab\x8F", false, "", false},
        {"half-width kana that are also UTF-8", "\xC3\xBD", true, u8"ﾃｽ", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.cp932, IsCp932Text(c.text)) << c.name;
        if (c.cp932) EXPECT_EQ(c.utf8, Cp932ToUtf8(c.text)) << c.name;
        EXPECT_EQ(c.isUtf8, IsUtf8Text(c.text)) << c.name;
    }
}

}  // namespace
