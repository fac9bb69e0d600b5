#include "store/TextEncoding.h"

#include <climits>
#include <new>

namespace {

constexpr UINT kCodePage932 = 932;

int CheckedSize(std::size_t size)
{
    if (size >= static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    return static_cast<int>(size);
}

// A measuring call, then the converting one.  A count of 0 from the
// platform gives empty text, so no buffer is read or written past its size.
std::u16string ToUtf16(UINT codePage, const std::string& text)
{
    if (text.empty()) return std::u16string();
    const int size = CheckedSize(text.size());
    const int units = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (units <= 0) return std::u16string();
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    const int written =
        MultiByteToWideChar(codePage, 0, text.data(), size, reinterpret_cast<WCHAR*>(&wide[0]), units);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

bool IsStrictly(UINT codePage, const char* text, int size)
{
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, size, nullptr, 0) > 0;
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text)
{
    return ToUtf16(CP_UTF8, text);
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    if (text.empty()) return std::string();
    const int size = CheckedSize(text.size());
    const WCHAR* wide = WideText(text);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string result(static_cast<std::size_t>(bytes), '\0');
    const int written = WideCharToMultiByte(CP_UTF8, 0, wide, size, &result[0], bytes, nullptr, nullptr);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

std::u16string CutUtf16Text(std::u16string text, std::size_t maxUnits)
{
    if (text.size() <= maxUnits) return text;
    std::size_t cut = maxUnits;
    if (cut > 0 && IsHighSurrogate(text[cut - 1])) --cut;
    text.resize(cut);
    return text;
}

bool IsCp932Text(const std::string& text)
{
    if (text.empty()) return true;
    // Measured with its terminator, so that a lead byte at the very end,
    // without its trail byte, is refused too.
    return IsStrictly(kCodePage932, text.c_str(), CheckedSize(text.size()) + 1);
}

std::string Cp932ToUtf8(const std::string& text)
{
    return Utf16ToUtf8(ToUtf16(kCodePage932, text));
}

bool IsUtf8Text(const std::string& text)
{
    return text.empty() || IsStrictly(CP_UTF8, text.data(), CheckedSize(text.size()));
}

std::string DecimalText(int64_t value)
{
    return std::to_string(value);
}
