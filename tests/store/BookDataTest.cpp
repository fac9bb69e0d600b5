#include "StoreTestSupport.h"

namespace {

TEST(BookData, CopyThenAssignLeavesTheOriginal)
{
    BookData original(MakeFields("坊っちゃん", 1));
    BookData copy(original);
    copy = BookData(MakeFields("こころ", 2));
    EXPECT_EQ("坊っちゃん", original.GetBookName());
    EXPECT_EQ(1, original.GetID());
    EXPECT_EQ("こころ", copy.GetBookName());
    EXPECT_EQ(2, copy.GetID());
}

TEST(BookData, AssignmentIntoASharedRecordIsSeenByEveryList)
{
    BookList catalogue{MakeBook(MakeFields("三四郎", 0)), MakeBook(MakeFields("それから", 1))};
    BookList hits{catalogue[1]};
    *FindBookById(catalogue, 1) = BookData(MakeFields("門", 1));
    EXPECT_EQ("門", hits[0]->GetBookName());
    EXPECT_EQ(catalogue[1].get(), hits[0].get());
    EXPECT_EQ(2, hits[0].use_count());
}

TEST(BookData, AccessorsHandOutCopies)
{
    BookData book(MakeFields("草枕", 3));
    std::string name = book.GetBookName();
    name += "X";
    EXPECT_EQ("草枕", book.GetBookName());
}

TEST(BookData, FindAndRemoveByIdTakeTheFirstMatch)
{
    BookList books{MakeBook(MakeFields("a", 5)), MakeBook(MakeFields("b", -1)),
                   MakeBook(MakeFields("c", 5))};
    EXPECT_EQ("a", FindBookById(books, 5)->GetBookName());
    EXPECT_EQ(nullptr, FindBookById(books, 6));
    EXPECT_EQ(0, RemoveBookById(books, 5));
    ASSERT_EQ(2u, books.size());
    EXPECT_EQ("b", books[0]->GetBookName());
    EXPECT_EQ("c", FindBookById(books, 5)->GetBookName());
    EXPECT_EQ(-1, RemoveBookById(books, 42));
}

}  // namespace
