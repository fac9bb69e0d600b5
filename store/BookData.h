// One book of the catalogue.  Texts are held in UTF-8, as the table holds them.
#pragma once
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A record's ID: the table's INTEGER PRIMARY KEY, which SQLite holds in 64
// bits.  Another program that adds rows may give IDs beyond 32 bits.
using BookId = int64_t;

// The plain values of a book, in the column order of the table.
struct BookFields {
    std::string BookName;
    std::string BookNameKana;
    std::string Author;
    std::string AuthorKana;
    int32_t Year = 0;
    int32_t Month = 0;
    std::string Publisher;
    std::string PublisherKana;
    std::string Place;
    std::string PlaceKana;
    std::string ISBN;
    BookId ID = 0;
};

// A stored record.  Records are shared between the catalogue list and the
// views of the windows, so a stored record changes only by whole-record
// assignment.
class BookData {
public:
    explicit BookData(const BookFields& fields) : fields_(fields) {}
    // Takes the texts over: a catalogue's load makes a record per row.
    explicit BookData(BookFields&& fields) : fields_(std::move(fields)) {}

    std::string GetBookName() const { return fields_.BookName; }
    std::string GetBookNameKana() const { return fields_.BookNameKana; }
    std::string GetAuthor() const { return fields_.Author; }
    std::string GetAuthorKana() const { return fields_.AuthorKana; }
    int32_t GetYear() const { return fields_.Year; }
    int32_t GetMonth() const { return fields_.Month; }
    std::string GetPublisher() const { return fields_.Publisher; }
    std::string GetPublisherKana() const { return fields_.PublisherKana; }
    std::string GetPlace() const { return fields_.Place; }
    std::string GetPlaceKana() const { return fields_.PlaceKana; }
    std::string GetISBN() const { return fields_.ISBN; }
    BookId GetID() const { return fields_.ID; }

    // Hands the values out together, for the statements and the row texts.
    const BookFields& Fields() const { return fields_; }

private:
    BookFields fields_;
};

using BookPtr = std::shared_ptr<BookData>;
// The catalogue list and the records of a view: shared references, never
// copies.
using BookList = std::vector<BookPtr>;

// One allocation for the record and its shared count.
inline BookPtr MakeBook(BookFields fields) {
    return std::make_shared<BookData>(std::move(fields));
}

// One more than the largest ID in the list (0 for an empty list), as a new
// record takes; none when the largest is already the largest ID the table
// takes.
inline std::optional<BookId> NextBookId(const BookList& books)
{
    BookId largest = -1;
    for (const BookPtr& book : books)
        if (book->GetID() > largest) largest = book->GetID();
    if (largest == std::numeric_limits<BookId>::max()) return std::nullopt;
    return largest + 1;
}

// The record behind a list-view row: the first one carrying the ID, scanning
// from the front; null when none does.
inline BookPtr FindBookById(const BookList& books, BookId id)
{
    for (const BookPtr& book : books)
        if (book->GetID() == id) return book;
    return nullptr;
}
