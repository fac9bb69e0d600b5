// Text crossing between the system code page (screen, memory) and UTF-8
// (database), through the platform's code-page conversion.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A text is converted up to its first NUL, as the C string it is read as.
std::string AnsiToUtf8(std::string text);
// True when the system code page holds the text without a doubt: a strict
// conversion takes it (no byte that is no character of the code page, no
// lead byte without its trail).
bool IsAnsiText(const std::string& text);
// True when the text is valid UTF-8 (the empty text included).
bool IsUtf8Text(const std::string& text);
std::string Utf8ToAnsi(std::string text);
// The same over the first `size` bytes of text that hold no NUL, such as a
// column of an SQLite row cut at its first NUL, without copying it first.
std::string Utf8ToAnsi(const char* text, std::size_t size);

// The longest prefix of system-code-page text that fits in maxBytes without
// splitting a double-byte character.
std::string CutAnsiText(const std::string& text, std::size_t maxBytes);

// An integer as the program writes it into statements, boxes and cells:
// plain decimal digits, a leading "-" when negative ("%d").
std::string DecimalText(int32_t value);
