// ISBNs as the catalogue compares them: hyphens and spaces ignored, and a
// 10-digit ISBN equal to its 13-digit form.  Plain C++, shared with the
// lookup's cpprest half.
#pragma once
#include <optional>
#include <string>

// The ISBN's own characters, the text without its hyphens and spaces, when
// they are 13 digits, or 10 of which the last may be an X (given as "X").
// None for anything else.
std::optional<std::string> IsbnCharacters(const std::string& text);

// The 13-digit form of an ISBN, by which two ISBNs compare equal: a 10-digit
// one gains the prefix 978 and its check digit is worked out anew.  None
// when the text is no ISBN.
std::optional<std::string> IsbnKey(const std::string& text);
