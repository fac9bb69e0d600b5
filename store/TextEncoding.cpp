#include "store/TextEncoding.h"

#include <windows.h>
#include <climits>
#include <cstring>
#include <vector>
#include <new>

namespace {

// Texts of up to this many bytes pass through buffers on the stack: the
// loading of a catalogue converts nine texts per row.
constexpr int kStackUnits = 512;

// One conversion through UTF-16 of text that holds no NUL.  A short text
// converts without measuring first: a byte of input gives at most one
// UTF-16 unit, and a unit at most three bytes of output, so buffers of
// those sizes always suffice and the platform's own counts come back from
// the converting calls; the result is then made once, at its size.  A long
// one is measured, converted, measured and converted.  A count of 0 from
// the platform ends the conversion with empty text, so no buffer is ever
// read or written past what was allocated for it.
std::string Convert(const char* text, std::size_t size, UINT from, UINT to)
{
    if (size == 0) return std::string();
    if (size >= static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    const int count = static_cast<int>(size);
    if (count <= kStackUnits) {
        WCHAR wide[kStackUnits];
        const int wideCount = MultiByteToWideChar(from, 0, text, count, wide, kStackUnits);
        if (wideCount <= 0) return std::string();
        char bytes[3 * kStackUnits];
        const int written = WideCharToMultiByte(to, 0, wide, wideCount, bytes, sizeof bytes, nullptr, nullptr);
        return written > 0 ? std::string(bytes, static_cast<std::size_t>(written)) : std::string();
    }

    const int wideCount = MultiByteToWideChar(from, 0, text, count, nullptr, 0);
    if (wideCount <= 0) return std::string();
    std::vector<WCHAR> wide(static_cast<std::size_t>(wideCount));
    if (MultiByteToWideChar(from, 0, text, count, wide.data(), wideCount) != wideCount) return std::string();
    const int byteCount = WideCharToMultiByte(to, 0, wide.data(), wideCount, nullptr, 0, nullptr, nullptr);
    if (byteCount <= 0) return std::string();
    std::string result(static_cast<std::size_t>(byteCount), '\0');
    const int written = WideCharToMultiByte(to, 0, wide.data(), wideCount, &result[0], byteCount, nullptr, nullptr);
    if (written <= 0) return std::string();
    result.resize(static_cast<std::size_t>(written));
    return result;
}

// The text up to its first NUL, as the C string it is read as.
std::size_t CStringSize(const std::string& text)
{
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()) : text.size();
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
    return Convert(text.data(), CStringSize(text), CP_THREAD_ACP, CP_UTF8);
}

bool IsAnsiText(const std::string& text)
{
    // Measured with its terminator, so that a lead byte at the very end,
    // without its trail byte, is refused too.
    const std::size_t size = CStringSize(text);
    if (size >= static_cast<std::size_t>(INT_MAX)) return false;
    return MultiByteToWideChar(CP_THREAD_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(size) + 1, nullptr,
                               0)
           > 0;
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
    return Convert(text.data(), CStringSize(text), CP_UTF8, CP_THREAD_ACP);
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
    // As "%d" would, without the formatting machinery: twice per row of a
    // fill.
    return std::to_string(value);
}
