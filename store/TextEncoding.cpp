#include "store/TextEncoding.h"

#include <windows.h>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>
#include <new>

namespace {

// Texts of up to this many bytes, terminator included, pass through buffers
// on the stack: the loading of a catalogue converts nine texts per row.
constexpr int kStackUnits = 512;

// A short text converts without measuring first: a byte of input gives at
// most one UTF-16 unit, and a unit at most three bytes of output, so
// buffers of those sizes always suffice and the platform's own counts come
// back from the converting calls.  Half the calls, the same results.
bool ConvertShort(const char* text, int count, UINT from, DWORD fromFlags, UINT to, std::string& result)
{
    if (count > kStackUnits) return false;
    WCHAR wide[kStackUnits];
    const int wideCount = MultiByteToWideChar(from, fromFlags, text, count, wide, kStackUnits);
    if (wideCount <= 0 || wide[wideCount - 1] != 0) {
        result.clear();
        return true;
    }
    char bytes[3 * kStackUnits];
    const int written = WideCharToMultiByte(to, 0, wide, wideCount, bytes, sizeof bytes, nullptr, nullptr);
    if (written <= 0) {
        result.clear();
        return true;
    }
    result.assign(bytes, std::strlen(bytes));  // cut at the first NUL, the carried terminator at the latest
    return true;
}

// One conversion through UTF-16: measure, convert, measure, convert.  The
// counts include the terminating NUL at text[size].  A count of 0 from the
// platform ends the conversion with empty text, so no buffer is ever read
// or written past what was allocated for it.  With MB_ERR_INVALID_CHARS
// among fromFlags, text that is not valid in the source code page gives
// empty text too.
std::string Convert(const char* text, std::size_t size, UINT from, UINT to, DWORD fromFlags = 0)
{
    if (size >= static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    const int count = static_cast<int>(size) + 1;
    std::string shortResult;
    if (ConvertShort(text, count, from, fromFlags, to, shortResult)) return shortResult;

    const int wideCount = MultiByteToWideChar(from, fromFlags, text, count, nullptr, 0);
    if (wideCount <= 0) return std::string();
    std::vector<WCHAR> buffer(static_cast<std::size_t>(wideCount));
    WCHAR* wide = buffer.data();
    if (MultiByteToWideChar(from, fromFlags, text, count, wide, wideCount) != wideCount || wide[wideCount - 1] != 0)
        return std::string();

    // Measured up to the terminator that the first conversion carried over
    // (checked above, so the measuring stays inside the buffer).
    const int byteCount = WideCharToMultiByte(to, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (byteCount <= 0) return std::string();
    // Converted straight into the result, which is then cut at its first NUL.
    std::string result(static_cast<std::size_t>(byteCount), '\0');
    const int written = WideCharToMultiByte(to, 0, wide, wideCount, &result[0], byteCount, nullptr, nullptr);
    if (written <= 0) return std::string();
    const void* nul = std::memchr(result.data(), '\0', static_cast<std::size_t>(written));
    result.resize(nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - result.data())
                      : static_cast<std::size_t>(written));
    return result;
}

// The ANSI code page of the calling thread, as a number that the lead-byte
// functions take (they do not all know CP_THREAD_ACP).
WORD ThreadAnsiCodePage()
{
    DWORD codePage = 0;
    if (GetLocaleInfoW(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0
        || codePage == 0)
        codePage = GetACP();
    return static_cast<WORD>(codePage);
}

}  // namespace

std::string AnsiToUtf8(std::string text)
{
    return Convert(text.c_str(), text.size(), CP_THREAD_ACP, CP_UTF8);
}

std::optional<std::string> StrictAnsiToUtf8(const std::string& text)
{
    std::string utf8 = Convert(text.c_str(), text.size(), CP_THREAD_ACP, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (utf8.empty() && !text.empty()) return std::nullopt;
    return utf8;
}

bool IsUtf8Text(const std::string& text)
{
    if (text.empty()) return true;
    if (text.size() >= static_cast<std::size_t>(INT_MAX)) return false;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0)
           > 0;
}

std::string Utf8ToAnsi(std::string text)
{
    return Convert(text.c_str(), text.size(), CP_UTF8, CP_THREAD_ACP);
}

std::string Utf8ToAnsi(const char* text, std::size_t size)
{
    return Convert(text, size, CP_UTF8, CP_THREAD_ACP);
}

std::string CutAnsiText(const std::string& text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) return text;
    const WORD codePage = ThreadAnsiCodePage();
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    const char* cut = begin;
    while (cut < end) {
        const char* next = CharNextExA(codePage, cut, 0);
        if (next <= cut) next = cut + 1;  // an embedded NUL: one byte
        if (next > end) next = end;
        if (static_cast<std::size_t>(next - begin) > maxBytes) break;
        cut = next;
    }
    return std::string(begin, cut);
}

std::string DecimalText(int32_t value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    return digits;
}
