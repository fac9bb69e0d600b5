// The catalogues the benchmarks measure: Japanese books made from a few
// words and their kana readings, the same on every run.
#pragma once
#include <string>
#include <vector>
#include "store/BookData.h"

struct Record {
    std::string text[9];  // BookName, BookNameKana, Author, AuthorKana, Publisher, PublisherKana, Place, PlaceKana, ISBN
    int year, month, id;
};

// count books with IDs 0, 1, 2, ...
std::vector<Record> MakeRecords(int count);
BookList MakeBooks(const std::vector<Record>& records);
