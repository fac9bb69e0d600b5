// Reading the mapping's writes back in tests of the plain C++ side.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "lookup/VolumeAnswer.h"

inline web::json::value ParseAnswer(const std::string& text)
{
    return web::json::value::parse(utility::conversions::to_string_t(text));
}

// (box, UTF-8 text) of each write; the texts here are all valid UTF-16.
inline std::vector<std::pair<int, std::string>> Written(const std::vector<FormBoxWrite>& writes)
{
    std::vector<std::pair<int, std::string>> written;
    for (const FormBoxWrite& write : writes)
        written.emplace_back(write.boxId, utility::conversions::to_utf8string(
                                              ::utf16string(write.text.begin(), write.text.end())));
    return written;
}
