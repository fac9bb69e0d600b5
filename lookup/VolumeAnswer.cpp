#include "lookup/VolumeAnswer.h"

#include "resources/resource.h"

namespace {

using web::json::value;

// Each step yields null when the answer lacks the part or has it in another
// JSON type; the walk then ends there.
const value* Member(const value* object, const utility::char_t* name)
{
    if (object == nullptr || !object->is_object() || !object->has_field(name)) return nullptr;
    return &object->at(name);
}

const value* FirstElement(const value* array)
{
    if (array == nullptr || !array->is_array() || array->size() == 0) return nullptr;
    return &array->at(0);
}

const value* VolumeInfoMember(const value& answer, const utility::char_t* name)
{
    return Member(Member(FirstElement(Member(&answer, U("items"))), U("volumeInfo")), name);
}

// Dates are cut by UTF-16 unit, so the text is converted before it is cut
// (utility::string_t is UTF-8 on Linux).  A string that is not valid
// Unicode fails like a missing one.
bool Utf16Text(const value* text, std::u16string& result)
{
    if (text == nullptr || !text->is_string()) return false;
    try {
        auto units = utility::conversions::to_utf16string(text->as_string());
        result.assign(units.begin(), units.end());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

VolumeAnswerWrites MapVolumeAnswer(const value& answer)
{
    VolumeAnswerWrites result;
    auto write = [&result](int boxId, std::u16string text) { result.writes.push_back({boxId, std::move(text)}); };
    auto fail = [&result]() -> VolumeAnswerWrites& {
        result.failed = true;
        return result;
    };
    try {
        std::u16string title;
        if (!Utf16Text(VolumeInfoMember(answer, U("title")), title)) return fail();
        write(IDC_BOOK_NAME, std::move(title));

        std::u16string author;
        if (!Utf16Text(FirstElement(VolumeInfoMember(answer, U("authors"))), author)) return fail();
        write(IDC_AUTHOR, std::move(author));

        std::u16string date;
        if (!Utf16Text(VolumeInfoMember(answer, U("publishedDate")), date)) return fail();
        write(IDC_YEAR, date.substr(0, 4));
        // The month is the two units after "YYYY-".  A date that ends before
        // them gives the year alone (many books are dated so), and leaves
        // the month box as it is; one that ends right there has an empty one.
        if (date.size() >= 5) write(IDC_MONTH, date.substr(5, 2));
    } catch (...) {
        return fail();  // out of memory while copying a text
    }
    return result;
}
