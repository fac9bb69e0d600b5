// Texts in memory and in the database are UTF-8, exactly as the file holds
// them; the windows take UTF-16.  Code page 932 is only the format of
// version-0 files, whatever the system's own code page.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <string>

// A byte sequence that is no UTF-8 becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

// UTF-16 as the W interfaces take it: WCHAR is 16 bits in every build.
inline const WCHAR* WideText(const std::u16string& text)
{
    return reinterpret_cast<const WCHAR*>(text.c_str());
}

// The longest prefix of at most maxUnits UTF-16 units that does not end
// between the two halves of a surrogate pair.
std::u16string CutUtf16Text(std::u16string text, std::size_t maxUnits);

// True when the text is code page 932 without a doubt: no byte that is no
// character of it, no lead byte without its trail.
bool IsCp932Text(const std::string& text);
// Code page 932 to UTF-8; a byte that is no character of the code page
// becomes the code page's default character, so the result is always UTF-8.
std::string Cp932ToUtf8(const std::string& text);
// True when the text is valid UTF-8 (the empty text included).
bool IsUtf8Text(const std::string& text);

// An integer as the program writes it into statements, boxes and cells:
// plain decimal digits, a leading "-" when negative ("%d").
std::string DecimalText(int64_t value);
