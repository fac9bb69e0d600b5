#include <gtest/gtest.h>

#include "lookup/LookupUri.h"

namespace {

// cpprest's texts are UTF-16 on Windows and UTF-8 elsewhere: compared as UTF-8.
std::string Utf8(const utility::string_t& text)
{
    return utility::conversions::to_utf8string(text);
}

std::string Utf8(const std::u16string& text)
{
    return utility::conversions::to_utf8string(::utf16string(text.begin(), text.end()));
}

struct UriCase {
    std::u16string isbn;
    std::string query;  // after "?"
};

const UriCase kCases[] = {
    {u"9784003101018", "q=isbn:9784003101018"},
    {u"978-4-00-310101-8", "q=isbn:978-4-00-310101-8"},
    {u"ISBN 4 00", "q=isbn:ISBN%204%2000"},
    {u" 978 ", "q=isbn:%20978%20"},
    {u"４００", "q=isbn:%EF%BC%94%EF%BC%90%EF%BC%90"},
    {u"𠮷", "q=isbn:%F0%A0%AE%B7"},
    {u"1&q=2", "q=isbn:1%26q%3D2"},
    {u"1+2;3#4%5", "q=isbn:1%2B2%3B3%234%255"},
};

TEST(LookupUri, HoldsTheIsbnAsTypedAsQueryData)
{
    for (const UriCase& c : kCases) {
        SCOPED_TRACE(c.query);
        web::uri uri = LookupUri(c.isbn);
        EXPECT_EQ(Utf8(uri.to_string()), "https://www.googleapis.com/books/v1/volumes?" + c.query);
        EXPECT_EQ(Utf8(uri.resource().to_string()), "/books/v1/volumes?" + c.query);
        // Decoded, the query gives back exactly the text typed.
        EXPECT_EQ(Utf8(web::uri::decode(uri.query())), Utf8(u"q=isbn:" + c.isbn));
    }
}

TEST(LookupUri, NamesNoPortSoTheClientUsesTheDefault)
{
    web::uri uri = LookupUri(u"9784003101018");
    EXPECT_EQ(Utf8(uri.scheme()), "https");
    EXPECT_EQ(Utf8(uri.host()), "www.googleapis.com");
    EXPECT_TRUE(uri.is_port_default());
    EXPECT_EQ(LookupUriBuilder(u"9784003101018").to_string(), uri.to_string());
}

}  // namespace
