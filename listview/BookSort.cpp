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

// Texts of up to this many bytes, and keys of up to this many, are made on
// the stack.
constexpr int kStackText = 256;
constexpr int kStackKey = 2048;

// The system's key as compared: its closing NUL adds nothing.  A text the
// system gives no key has its bytes.
SortKey KeyOfBytes(const char* key, int bytes, const std::string& utf8)
{
    while (bytes > 0 && key[bytes - 1] == '\0') --bytes;
    if (bytes <= 0) return utf8.empty() ? SortKey() : "\x01" + utf8;
    return SortKey(key, static_cast<std::size_t>(bytes));
}

SortKey LongTextSortKey(const std::string& utf8)
{
    if (utf8.empty()) return SortKey();
    const std::u16string text = Utf8ToUtf16(utf8);
    const int length = static_cast<int>(text.size());
    const int bytes =
        LCMapStringEx(L"ja-JP", LCMAP_SORTKEY | kJapaneseOrder, WideText(text), length, nullptr, 0, nullptr, nullptr, 0);
    if (bytes <= 0) return KeyOfBytes("", 0, utf8);
    std::string key(static_cast<std::size_t>(bytes), '\0');
    const int written = LCMapStringEx(L"ja-JP", LCMAP_SORTKEY | kJapaneseOrder, WideText(text), length,
                                      reinterpret_cast<WCHAR*>(&key[0]), bytes, nullptr, nullptr, 0);
    return KeyOfBytes(key.data(), written, utf8);
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
    if (utf8.empty() || utf8.size() > kStackText) return LongTextSortKey(utf8);
    // A click sorts every row: a title or a name fits these buffers, and
    // takes one conversion, one call and one allocation.
    WCHAR text[kStackText];
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text, kStackText);
    char key[kStackKey];
    const int bytes = length > 0 ? LCMapStringEx(L"ja-JP", LCMAP_SORTKEY | kJapaneseOrder, text, length,
                                                 reinterpret_cast<WCHAR*>(key), kStackKey, nullptr, nullptr, 0)
                                 : 0;
    if (bytes <= 0) return LongTextSortKey(utf8);
    return KeyOfBytes(key, bytes, utf8);
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
