#include "dialogs/RecordCommands.h"

#include <algorithm>
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "store/Isbn.h"
#include "store/TextEncoding.h"

namespace {

// The form's boxes in the order they are filled, each with the field it
// shows: a text or a number.
struct FormBox {
    int id;
    std::string BookFields::*text;
    int32_t BookFields::*number;
};
const FormBox kFormBoxes[kFormBoxCount] = {
    {IDC_BOOK_NAME, &BookFields::BookName, nullptr},
    {IDC_BOOK_NAME_KANA, &BookFields::BookNameKana, nullptr},
    {IDC_AUTHOR, &BookFields::Author, nullptr},
    {IDC_AUTHOR_KANA, &BookFields::AuthorKana, nullptr},
    {IDC_YEAR, nullptr, &BookFields::Year},
    {IDC_MONTH, nullptr, &BookFields::Month},
    {IDC_PUBLISHER, &BookFields::Publisher, nullptr},
    {IDC_PUBLISHER_KANA, &BookFields::PublisherKana, nullptr},
    {IDC_PLACE, &BookFields::Place, nullptr},
    {IDC_PLACE_KANA, &BookFields::PlaceKana, nullptr},
    {IDC_ISBN, &BookFields::ISBN, nullptr},
};

bool Holds(const BookList& books, const BookPtr& record)
{
    return std::find(books.begin(), books.end(), record) != books.end();
}

void Forget(BookList& books, const BookPtr& record)
{
    auto found = std::find(books.begin(), books.end(), record);
    if (found != books.end()) books.erase(found);
}

FormOutcome AddRecord(BookFields fields, RecordCommandContext& context)
{
    std::optional<BookId> id = NextBookId(context.catalogue);
    if (!id) return FormOutcome::NoFreeId;
    fields.ID = *id;
    BookPtr book = MakeBook(std::move(fields));
    if (!context.writes.save(Insert, book)) return FormOutcome::SaveFailed;

    context.catalogue.push_back(book);
    context.catalogueView.Add(book);
    return FormOutcome::Saved;
}

FormOutcome ChangeRecord(const BookFormBoxes& boxes, const BookFormTarget& target, RecordCommandContext& context)
{
    const BookPtr& record = target.record;
    if (!record || !Holds(context.catalogue, record)) return FormOutcome::RecordMissing;

    BookFields fields = ReadFormValues(boxes, target);
    fields.ID = record->GetID();
    if (!context.writes.save(Update, MakeBook(fields))) return FormOutcome::SaveFailed;

    // In place: the catalogue list and every view share this object.
    *record = BookData(std::move(fields));
    context.catalogueView.Changed(record);
    for (BookView* results : context.resultsViews) results->Changed(record);
    return FormOutcome::Saved;
}

}  // namespace

std::string TypedFieldText(std::u16string typed)
{
    return Utf16ToUtf8(CutUtf16Text(std::move(typed), kFormTextLimit));
}

const char* FormOutcomeMessage(FormOutcome outcome)
{
    switch (outcome) {
    case FormOutcome::TitleMissing: return "書名は必須情報です";
    case FormOutcome::NoFreeId: return "書籍IDが上限に達したため、これ以上追加できません";
    case FormOutcome::SaveFailed: return "データベースへの追加に失敗しました";
    case FormOutcome::RecordMissing: return "編集中書籍情報が見つかりません";
    case FormOutcome::Saved: break;
    }
    return "";
}

BookFormTarget InitialiseBookForm(BookFormBoxes& boxes, BookPtr record)
{
    BookFormTarget target;
    target.record = std::move(record);
    if (!target.record) return target;
    const BookFields& f = target.record->Fields();
    for (int i = 0; i < kFormBoxCount; ++i) {
        const FormBox& box = kFormBoxes[i];
        boxes.SetText(box.id, Utf8ToUtf16(box.text ? f.*box.text : DecimalText(f.*box.number)));
        // As the box holds it, which may differ from what it was given.
        target.shown[static_cast<std::size_t>(i)] = boxes.Text(box.id);
    }
    return target;
}

BookFields ReadFormValues(const BookFormBoxes& boxes, const BookFormTarget& target)
{
    const BookFields* current = target.record ? &target.record->Fields() : nullptr;
    BookFields f;
    for (int i = 0; i < kFormBoxCount; ++i) {
        const FormBox& box = kFormBoxes[i];
        std::u16string text = boxes.Text(box.id);
        const bool leftAlone = current && text == target.shown[static_cast<std::size_t>(i)];
        if (box.text)
            f.*box.text = leftAlone ? current->*box.text : TypedFieldText(std::move(text));
        else
            f.*box.number = leftAlone ? current->*box.number : boxes.Number(box.id);
    }
    return f;
}

FormOutcome SubmitBookForm(const BookFormBoxes& boxes, const BookFormTarget& target, RecordCommandContext& context)
{
    if (boxes.Text(IDC_BOOK_NAME).empty()) return FormOutcome::TitleMissing;
    if (!target.record) return AddRecord(ReadFormValues(boxes, target), context);
    return ChangeRecord(boxes, target, context);
}

BookPtr CataloguedCopy(const BookFormBoxes& boxes, const BookFormTarget& target, const BookList& catalogue)
{
    if (target.record || boxes.Text(IDC_BOOK_NAME).empty()) return nullptr;
    const std::optional<std::string> key = IsbnKey(Utf16ToUtf8(boxes.Text(IDC_ISBN)));
    if (!key) return nullptr;
    for (const BookPtr& book : catalogue)
        if (IsbnKey(book->GetISBN()) == key) return book;
    return nullptr;
}

// By value: the reference handed in may be an entry of the lists it is
// taken out of.
bool DeleteRecord(BookPtr record, RecordCommandContext& context)
{
    if (!record) return false;
    // Gone already: another book may carry its ID by now, which is not
    // this delete's to touch.
    if (!Holds(context.catalogue, record)) return true;
    if (!context.writes.remove(record->GetID())) return false;

    Forget(context.catalogue, record);
    context.catalogueView.Remove(record);
    for (BookView* results : context.resultsViews) results->Remove(record);
    return true;
}
