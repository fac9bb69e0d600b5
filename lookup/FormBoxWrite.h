// One text for one edit box of the book form, as an answer mapping yields it.
#pragma once
#include <string>

struct FormBoxWrite {
    int boxId;
    std::u16string text;
};
