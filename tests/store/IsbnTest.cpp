#include <string>
#include "store/Isbn.h"
#include "support/GTestWin32.h"

namespace {

TEST(Isbn, TextsThatAreIsbnsAndTheirKeys)
{
    const struct {
        const char* text;
        const char* characters;  // null: no ISBN
        const char* key;
    } cases[] = {
        {"978-4-00-310101-8", "9784003101018", "9784003101018"},
        {"9784003101018", "9784003101018", "9784003101018"},
        {"4-00-310101-4", "4003101014", "9784003101018"},
        {"4 00 310101 4", "4003101014", "9784003101018"},
        {"4-7741-1958-x", "477411958X", "9784774119588"},
        {"0-306-40615-2", "0306406152", "9780306406157"},
        {"", nullptr, nullptr},
        {"978400310101", nullptr, nullptr},     // 12 digits
        {"97840031010189", nullptr, nullptr},   // 14 digits
        {"X003101014", nullptr, nullptr},       // X only last of ten
        {"978400310101X", nullptr, nullptr},    // nor in thirteen
        {"９７８４００３１０１０１８", nullptr, nullptr},
        {"ISBN 9784003101018", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto characters = IsbnCharacters(c.text);
        const auto key = IsbnKey(c.text);
        EXPECT_EQ(c.characters != nullptr, characters.has_value()) << c.text;
        EXPECT_EQ(c.key != nullptr, key.has_value()) << c.text;
        if (c.characters && characters) EXPECT_EQ(c.characters, *characters) << c.text;
        if (c.key && key) EXPECT_EQ(c.key, *key) << c.text;
    }
}

}  // namespace
