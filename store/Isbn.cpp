#include "store/Isbn.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::string> IsbnCharacters(const std::string& text)
{
    std::string kept;
    for (char c : text) {
        if (c == '-' || c == ' ') continue;
        if (kept.size() == 13) return std::nullopt;
        kept += c == 'x' ? 'X' : c;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const bool lastOfTen = kept.size() == 10 && i == 9;
        if (!IsDigit(kept[i]) && !(lastOfTen && kept[i] == 'X')) return std::nullopt;
    }
    if (kept.size() != 10 && kept.size() != 13) return std::nullopt;
    return kept;
}

std::optional<std::string> IsbnKey(const std::string& text)
{
    std::optional<std::string> isbn = IsbnCharacters(text);
    if (!isbn || isbn->size() == 13) return isbn;
    // The ten digits' own check digit is dropped; the 13-digit form has its own.
    std::string key = "978" + isbn->substr(0, 9);
    int sum = 0;
    for (std::size_t i = 0; i < key.size(); ++i) sum += (key[i] - '0') * (i % 2 == 0 ? 1 : 3);
    key += static_cast<char>('0' + (10 - sum % 10) % 10);
    return key;
}
