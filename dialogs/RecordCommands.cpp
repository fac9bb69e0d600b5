#include "dialogs/RecordCommands.h"

#include <algorithm>
#include <limits>
#include "listview/BookListView.h"
#include "resources/resource.h"
#include "store/TextEncoding.h"

namespace {

// The whole text may be longer than a field holds; a half character at the
// cut would turn into broken UTF-8 in the database.  A value the box still
// holds as the form showed it is the user's to keep, whatever its length
// (another program may have written it): it goes back whole.
std::string FieldText(const BookFormBoxes& boxes, int box, const std::string* shown)
{
    std::string text = boxes.Text(box);
    if (shown && text == *shown) return text;
    return CutAnsiText(text, kFormTextLimit);
}

ListViewRows& WorkingView(const RecordCommandContext& context)
{
    return context.fromResults ? context.resultsView : context.catalogueView;
}

// The record behind the selected row, as long as the catalogue list still
// holds it.  A hit deleted from the catalogue since the search is gone,
// even when a newer record has taken its ID.
BookPtr RecordBehindSelection(const RecordCommandContext& context)
{
    BookPtr record = RecordBehindRow(WorkingView(context), context.selectionIndex,
                                     context.fromResults ? context.hits : context.catalogue);
    if (record && context.fromResults
        && std::find(context.catalogue.begin(), context.catalogue.end(), record) == context.catalogue.end())
        return nullptr;
    return record;
}

FormOutcome AddRecord(BookFields fields, RecordCommandContext& context)
{
    std::optional<int32_t> id = NextBookId(context.catalogue);
    if (!id) return FormOutcome::NoFreeId;
    fields.ID = *id;
    BookPtr book = MakeBook(std::move(fields));
    if (!context.writes.save(Insert, book)) return FormOutcome::SaveFailed;

    context.catalogue.push_back(book);
    // Row i shows entry i: the new row goes to the end whatever view the
    // form was opened from.
    InsertBookRow(context.catalogueView, static_cast<int>(context.catalogue.size()) - 1, *book);
    return FormOutcome::Saved;
}

FormOutcome ChangeRecord(const BookFormBoxes& boxes, RecordCommandContext& context)
{
    BookPtr record = RecordBehindSelection(context);
    if (!record) return FormOutcome::RecordMissing;

    BookFields fields = ReadFormValues(boxes, record.get());
    fields.ID = record->GetID();
    if (!context.writes.save(Update, MakeBook(fields))) return FormOutcome::SaveFailed;

    // In place: the hit list and the catalogue list share this object.
    *record = BookData(std::move(fields));
    if (!context.fromResults) {
        RewriteBookRow(context.catalogueView, context.selectionIndex, *record);
        return FormOutcome::Saved;
    }
    int catalogueRows = context.catalogueView.Count();
    RewriteBookRow(context.resultsView, context.selectionIndex, *record);
    for (int row = 0; row < catalogueRows; ++row)
        if (context.catalogueView.ItemData(row) == record->GetID())
            RewriteBookRow(context.catalogueView, row, *record);
    return FormOutcome::Saved;
}

}  // namespace

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

std::optional<int32_t> NextBookId(const BookList& catalogue)
{
    int32_t largest = -1;
    for (const BookPtr& book : catalogue)
        if (book->GetID() > largest) largest = book->GetID();
    if (largest == std::numeric_limits<int32_t>::max()) return std::nullopt;
    return largest + 1;
}

BookPtr RecordBehindRow(const ListViewRows& view, int row, const BookList& books)
{
    if (row < 0 || row >= view.Count()) return nullptr;
    return FindBookById(books, view.ItemData(row));
}

void ShowRecordInBoxes(BookFormBoxes& boxes, const BookData& book)
{
    const BookFields& f = book.Fields();
    boxes.SetText(IDC_BOOK_NAME, f.BookName);
    boxes.SetText(IDC_BOOK_NAME_KANA, f.BookNameKana);
    boxes.SetText(IDC_AUTHOR, f.Author);
    boxes.SetText(IDC_AUTHOR_KANA, f.AuthorKana);
    boxes.SetText(IDC_YEAR, DecimalText(f.Year));
    boxes.SetText(IDC_MONTH, DecimalText(f.Month));
    boxes.SetText(IDC_PUBLISHER, f.Publisher);
    boxes.SetText(IDC_PUBLISHER_KANA, f.PublisherKana);
    boxes.SetText(IDC_PLACE, f.Place);
    boxes.SetText(IDC_PLACE_KANA, f.PlaceKana);
    boxes.SetText(IDC_ISBN, f.ISBN);
}

BookFields ReadFormValues(const BookFormBoxes& boxes, const BookData* shown)
{
    BookFields f;
    const auto text = [&](int box, std::string BookFields::*field) {
        f.*field = FieldText(boxes, box, shown ? &(shown->Fields().*field) : nullptr);
    };
    text(IDC_BOOK_NAME, &BookFields::BookName);
    text(IDC_BOOK_NAME_KANA, &BookFields::BookNameKana);
    text(IDC_AUTHOR, &BookFields::Author);
    text(IDC_AUTHOR_KANA, &BookFields::AuthorKana);
    f.Year = boxes.Number(IDC_YEAR);
    f.Month = boxes.Number(IDC_MONTH);
    text(IDC_PUBLISHER, &BookFields::Publisher);
    text(IDC_PUBLISHER_KANA, &BookFields::PublisherKana);
    text(IDC_PLACE, &BookFields::Place);
    text(IDC_PLACE_KANA, &BookFields::PlaceKana);
    text(IDC_ISBN, &BookFields::ISBN);
    return f;
}

void InitialiseBookForm(BookFormBoxes& boxes, const RecordCommandContext& context)
{
    if (context.selectionIndex == -1) return;
    // A row without its record leaves the boxes empty; OK then reports it.
    if (BookPtr record = RecordBehindSelection(context))
        ShowRecordInBoxes(boxes, *record);
}

FormOutcome SubmitBookForm(const BookFormBoxes& boxes, RecordCommandContext& context)
{
    if (boxes.Text(IDC_BOOK_NAME).empty()) return FormOutcome::TitleMissing;
    if (context.selectionIndex == -1) return AddRecord(ReadFormValues(boxes), context);
    return ChangeRecord(boxes, context);
}

DeleteOutcome DeleteRecordAtRow(RecordCommandContext& context)
{
    const int row = context.selectionIndex;
    const int32_t id = WorkingView(context).ItemData(row);
    if (context.fromResults && !RecordBehindSelection(context)) return {false, -1};
    if (!context.writes.remove(id)) return {false, -1};

    if (context.fromResults) {
        RemoveBookById(context.hits, id);
        context.resultsView.DeleteRow(row);
    }
    const int position = RemoveBookById(context.catalogue, id);
    if (!context.fromResults) {
        // Even when no record carried the ID: the view never shows a record
        // that is gone from the table.
        context.catalogueView.DeleteRow(row);
    } else if (position != -1) {
        context.catalogueView.DeleteRow(position);
    }
    return {true, position};
}
