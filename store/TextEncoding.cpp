#include "store/TextEncoding.h"

#include <windows.h>
#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {

// One conversion through UTF-16: measure, convert, measure, convert.  The
// counts include the terminating NUL.  A count of 0 from the platform ends
// the conversion with empty text, so no buffer is ever read or written past
// what was allocated for it.
std::string Convert(const std::string& text, UINT from, UINT to)
{
    if (text.size() >= static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    const int size = static_cast<int>(text.size()) + 1;

    const int wideCount = MultiByteToWideChar(from, 0, text.c_str(), size, nullptr, 0);
    if (wideCount <= 0) return std::string();
    std::unique_ptr<WCHAR[]> wide(new WCHAR[wideCount]);
    if (MultiByteToWideChar(from, 0, text.c_str(), size, wide.get(), wideCount) != wideCount)
        return std::string();

    // Measured up to the terminator that the first conversion carried over.
    const int byteCount = WideCharToMultiByte(to, 0, wide.get(), -1, nullptr, 0, nullptr, nullptr);
    if (byteCount <= 0) return std::string();
    std::unique_ptr<char[]> bytes(new char[byteCount]);
    const int written = WideCharToMultiByte(to, 0, wide.get(), wideCount, bytes.get(), byteCount,
                                            nullptr, nullptr);
    if (written <= 0) return std::string();

    const void* nul = std::memchr(bytes.get(), '\0', static_cast<std::size_t>(written));
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.get())
            : static_cast<std::size_t>(written);
    return std::string(bytes.get(), length);
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
    return Convert(text, CP_THREAD_ACP, CP_UTF8);
}

std::string Utf8ToAnsi(std::string text)
{
    return Convert(text, CP_UTF8, CP_THREAD_ACP);
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
