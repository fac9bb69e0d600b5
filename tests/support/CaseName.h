// The name of a parameterised test case: the letters and digits of the
// case's own name, which GoogleTest accepts.
#pragma once
#include <cctype>
#include <string>

template <typename ParamInfo>
std::string CaseName(const ParamInfo& info)
{
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
}
