#include "lookup/LibraryAnswer.h"

#include <cstring>
#include <type_traits>
#include <cpprest/asyncrt_utils.h>
#include <pugixml.hpp>

#include "resources/resource.h"
#include "store/Isbn.h"

static_assert(std::is_same<pugi::char_t, char>::value, "pugixml must hold UTF-8 texts");

namespace {

const char kDc[] = "http://purl.org/dc/elements/1.1/";
const char kDcndl[] = "http://ndl.go.jp/dcndl/terms/";
const char kDcterms[] = "http://purl.org/dc/terms/";
const char kXsi[] = "http://www.w3.org/2001/XMLSchema-instance";

// pugixml leaves namespaces alone: a name carries whatever prefix the answer
// declared for its namespace, found here from the item outwards.  Empty for
// a namespace the answer never declared, which no element then matches.
std::string Name(pugi::xml_node item, const char* uri, const char* local)
{
    for (pugi::xml_node node = item; node; node = node.parent()) {
        for (pugi::xml_attribute declaration : node.attributes()) {
            if (std::strcmp(declaration.value(), uri) != 0) continue;
            if (std::strcmp(declaration.name(), "xmlns") == 0) return local;
            if (std::strncmp(declaration.name(), "xmlns:", 6) == 0)
                return std::string(declaration.name() + 6) + ":" + local;
        }
    }
    return {};
}

std::string Text(pugi::xml_node item, const std::string& name)
{
    return name.empty() ? std::string() : item.child(name.c_str()).text().get();
}

std::vector<std::string> Texts(pugi::xml_node item, const std::string& name)
{
    std::vector<std::string> texts;
    if (name.empty()) return texts;
    for (pugi::xml_node element : item.children(name.c_str())) texts.push_back(element.text().get());
    return texts;
}

bool IsItemOf(pugi::xml_node item, const std::string& isbnKey)
{
    const std::string isbnType = Name(item, kDcndl, "ISBN");
    const std::string typeName = Name(item, kXsi, "type");
    const std::string identifier = Name(item, kDc, "identifier");
    if (isbnType.empty() || typeName.empty() || identifier.empty()) return false;
    for (pugi::xml_node element : item.children(identifier.c_str()))
        if (isbnType == element.attribute(typeName.c_str()).value() && IsbnKey(element.text().get()) == isbnKey)
            return true;
    return false;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? separator : "") + parts[i];
    return joined;
}

bool Has(const std::string& text, bool (*test)(char))
{
    for (char c : text)
        if (test(c)) return true;
    return false;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLatinLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "1867-1916", "1981-", "1900?-1950".
bool IsLifeDates(const std::string& part)
{
    return Has(part, IsDigit) && part.find_first_not_of("0123456789-?") == std::string::npos;
}

// "夏目, 漱石, 1867-1916" is written 夏目漱石; a name in Latin letters keeps
// its order and comma ("Natsume, Soseki").
std::string AuthorName(const std::string& creator)
{
    std::vector<std::string> parts = Split(creator, ", ");
    if (parts.size() > 1 && IsLifeDates(parts.back())) parts.pop_back();
    return Join(parts, Has(creator, IsLatinLetter) ? ", " : "");
}

// "ナツメ, ソウセキ" is read ナツメ ソウセキ.
std::string Reading(const std::string& transcription)
{
    return Join(Split(transcription, ", "), " ");
}

// "メディアパル (発売)": the publisher without its role.
std::string PublisherName(const std::string& publisher)
{
    const std::size_t role = publisher.rfind(" (");
    if (role == std::string::npos || role == 0 || publisher.back() != ')') return publisher;
    return publisher.substr(0, role);
}

struct YearMonth {
    std::string year, month;
};

// "2012.11", "2019.5", "[2022.9]", "2016-03", "2012": four digits of year,
// then one or two of month after a dot or hyphen.  Anything else has none.
YearMonth IssuedDate(std::string date)
{
    std::string bare;
    for (char c : date)
        if (c != '[' && c != ']') bare += c;
    if (bare.size() < 4 || bare.find_first_not_of("0123456789") < 4) return {};
    if (bare.size() > 4 && IsDigit(bare[4])) return {};
    YearMonth result{bare.substr(0, 4), {}};
    if (bare.size() > 5 && (bare[4] == '.' || bare[4] == '-')) {
        const std::size_t end = bare.find_first_not_of("0123456789", 5);
        const std::size_t digits = (end == std::string::npos ? bare.size() : end) - 5;
        if (digits == 1 || digits == 2) result.month = bare.substr(5, digits);
    }
    return result;
}

std::u16string Utf16(const std::string& text)
{
    const auto units = utility::conversions::utf8_to_utf16(text);  // throws for text that is not UTF-8
    return std::u16string(units.begin(), units.end());
}

LibraryAnswerWrites MapItem(pugi::xml_node item)
{
    auto text = [item](const char* uri, const char* local) { return Text(item, Name(item, uri, local)); };
    const std::vector<std::string> creators = Texts(item, Name(item, kDc, "creator"));
    const std::vector<std::string> readings = Texts(item, Name(item, kDcndl, "creatorTranscription"));
    std::string issued = text(kDcterms, "issued");
    if (issued.empty()) issued = text(kDc, "date");
    const YearMonth date = IssuedDate(issued);

    std::string title = text(kDc, "title");
    const std::string volume = text(kDcndl, "volume");
    if (!title.empty() && !volume.empty()) title += " " + volume;
    const std::string publisherReading = text(kDcndl, "publisherTranscription");
    // Readings are not paired with authors by position: a record may read
    // fewer authors than it names, and then the first reading is not sure
    // to be the first author's.
    const bool everyAuthorRead = !creators.empty() && readings.size() >= creators.size();

    const std::pair<int, std::string> values[] = {
        {IDC_BOOK_NAME, title},
        {IDC_BOOK_NAME_KANA, Reading(text(kDcndl, "titleTranscription"))},
        {IDC_AUTHOR, creators.empty() ? std::string() : AuthorName(creators.front())},
        {IDC_AUTHOR_KANA, everyAuthorRead ? Reading(readings.front()) : std::string()},
        {IDC_YEAR, date.year},
        {IDC_MONTH, date.month},
        {IDC_PUBLISHER, PublisherName(text(kDc, "publisher"))},
        {IDC_PUBLISHER_KANA, Reading(publisherReading)},
    };
    LibraryAnswerWrites result;
    for (const auto& [box, value] : values)
        if (!value.empty()) result.writes.push_back({box, Utf16(value)});
    result.titled = !title.empty();
    return result;
}

}  // namespace

LibraryAnswerWrites MapLibraryAnswer(const std::string& answer, const std::string& isbn)
{
    try {
        const std::optional<std::string> key = IsbnKey(isbn);
        pugi::xml_document document;
        // The DOCTYPE is parsed only to be refused: pugixml expands no entity
        // of its own, and an answer that declares some is not the service's.
        if (!key || !document.load_buffer(answer.data(), answer.size(), pugi::parse_default | pugi::parse_doctype))
            return {};
        for (pugi::xml_node node : document.children())
            if (node.type() == pugi::node_doctype) return {};
        for (pugi::xml_node item : document.child("rss").child("channel").children("item"))
            if (IsItemOf(item, *key)) return MapItem(item);
    } catch (...) {
        // A text that is not UTF-8, or out of memory: as if nothing was found.
    }
    return {};
}

bool LibraryMayFill(int boxId, const std::u16string& text)
{
    return text.empty() || ((boxId == IDC_YEAR || boxId == IDC_MONTH) && text == u"0");
}
