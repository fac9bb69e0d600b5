// The answer of the National Diet Library's search service (RSS 2.0 with
// Dublin Core elements), turned into the texts of the book form: the record
// of the ISBN asked, with the readings that no other service gives.
#pragma once
#include <string>
#include <vector>

#include "lookup/FormBoxWrite.h"

struct LibraryAnswerWrites {
    std::vector<FormBoxWrite> writes;  // in the form's order, each to go into an empty box only
    bool titled = false;               // the record gave a title: the book was found
};

// The writes for the first item whose ISBN equals isbn, compared as ISBNs.
// None for an answer without such an item, or one that is not well-formed
// XML, declares a DOCTYPE (so no entity of its own is ever expanded), or
// holds a text that is not Unicode.  Never throws.
LibraryAnswerWrites MapLibraryAnswer(const std::string& answer, const std::string& isbn);

// Whether a box holding text takes a value of the Library: only an empty
// one, a year or month of 0 counting as empty.
bool LibraryMayFill(int boxId, const std::u16string& text);
