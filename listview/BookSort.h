// The order of a book list view by one of its columns: each record's key in
// the column, and how two keys compare.  Apart from any window, so that
// tests call them directly.
#pragma once
#include <string>
#include "store/BookData.h"

// A record's key in one column, compared bytewise.  The empty key is an
// empty cell.
using SortKey = std::string;

// 書名, 著者, 場所 and 出版者 by their reading where the record has one,
// else by the text itself, in Japanese order; 発行年 and 発行月 as numbers
// (0, the value of an empty box, as an empty cell); ISBN by its 13-digit
// form, or by its digits when it is no ISBN.
SortKey SortKeyOf(const BookData& book, int column);

// The key of a text in Japanese order: hiragana and katakana alike, full
// and half width alike, letter case ignored, runs of digits compared as
// numbers ("2巻" before "10巻").  Empty for the empty text.
SortKey JapaneseSortKey(const std::string& utf8);

// How a view's rows are ordered: by a column, ascending or descending, or
// (column -1) in the order of loading and adding.
struct SortOrder {
    int column = -1;
    bool ascending = true;
};

// Whether a row keyed a goes before a row keyed b.  Empty cells come after
// all others in either direction, as a spreadsheet puts them.
bool SortsBefore(const SortKey& a, const SortKey& b, bool ascending);
