#include "listview/BookSort.h"

#include <cstdint>
#include "listview/BookListView.h"
#include "store/Isbn.h"
#include "store/TextEncoding.h"

namespace {

// Japanese order, as Windows compares Japanese text for the user.
constexpr DWORD kJapaneseOrder =
    NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH | LINGUISTIC_IGNORECASE | SORT_DIGITSASNUMBERS;

// A whole number as bytes that compare as the numbers do: big-endian, the
// sign bit flipped.
SortKey NumberKey(int32_t value)
{
    if (value == 0) return SortKey();
    const uint32_t biased = static_cast<uint32_t>(value) ^ 0x80000000u;
    return {static_cast<char>(biased >> 24), static_cast<char>(biased >> 16), static_cast<char>(biased >> 8),
            static_cast<char>(biased)};
}

SortKey ReadingKey(const std::string& reading, const std::string& text)
{
    return JapaneseSortKey(reading.empty() ? text : reading);
}

SortKey IsbnSortKey(const std::string& isbn)
{
    if (isbn.empty()) return SortKey();
    if (const std::optional<std::string> key = IsbnKey(isbn)) return "\x01" + *key;
    SortKey digits = "\x01";
    for (char c : isbn)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

}  // namespace

SortKey JapaneseSortKey(const std::string& utf8)
{
    if (utf8.empty()) return SortKey();
    const std::u16string text = Utf8ToUtf16(utf8);
    const int length = static_cast<int>(text.size());
    const int bytes =
        LCMapStringEx(L"ja-JP", LCMAP_SORTKEY | kJapaneseOrder, WideText(text), length, nullptr, 0, nullptr, nullptr, 0);
    if (bytes <= 0) return "\x01" + utf8;  // no key from the system: the bytes themselves
    SortKey key(static_cast<std::size_t>(bytes), '\0');
    LCMapStringEx(L"ja-JP", LCMAP_SORTKEY | kJapaneseOrder, WideText(text), length,
                  reinterpret_cast<WCHAR*>(&key[0]), bytes, nullptr, nullptr, 0);
    // The key ends in a NUL, which compares as nothing more.
    while (!key.empty() && key.back() == '\0') key.pop_back();
    if (key.empty()) key = "\x01";
    return key;
}

SortKey SortKeyOf(const BookData& book, int column)
{
    const BookFields& f = book.Fields();
    switch (column) {
    case kTitleColumn: return ReadingKey(f.BookNameKana, f.BookName);
    case kAuthorColumn: return ReadingKey(f.AuthorKana, f.Author);
    case kPlaceColumn: return ReadingKey(f.PlaceKana, f.Place);
    case kYearColumn: return NumberKey(f.Year);
    case kMonthColumn: return NumberKey(f.Month);
    case kPublisherColumn: return ReadingKey(f.PublisherKana, f.Publisher);
    case kIsbnColumn: return IsbnSortKey(f.ISBN);
    }
    return SortKey();
}

bool SortsBefore(const SortKey& a, const SortKey& b, bool ascending)
{
    if (a.empty() || b.empty()) return !a.empty() && b.empty();
    // Bytewise: std::string compares its chars as unsigned.
    return ascending ? a < b : b < a;
}
