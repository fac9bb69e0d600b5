#include "store/CatalogueCsv.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <unordered_set>
#include "store/CsvText.h"
#include "store/Isbn.h"
#include "store/TextEncoding.h"

const char* const kCsvColumnLabels[kCsvColumnCount] = {
    "書名", "書名(カナ)", "著者", "著者(カナ)", "発行年", "発行月", "出版者", "出版者(カナ)", "場所", "場所(カナ)", "ISBN",
};

namespace {

// The values of a book by column, in the table's order; a date column
// gives the year and the month at once.
enum Value { kBookName, kBookNameKana, kAuthor, kAuthorKana, kYear, kMonth,
             kPublisher, kPublisherKana, kPlace, kPlaceKana, kISBN, kDate };

// The texts by column; Year and Month are numbers.
std::string BookFields::*const kTextFields[kCsvColumnCount] = {
    &BookFields::BookName,  &BookFields::BookNameKana,  &BookFields::Author, &BookFields::AuthorKana,
    nullptr,                nullptr,                    &BookFields::Publisher, &BookFields::PublisherKana,
    &BookFields::Place,     &BookFields::PlaceKana,     &BookFields::ISBN,
};

// The header names an import knows, the export's labels first.  Where a
// file has several columns for one value, the one whose name stands
// earlier here gives it; a date gives the year or month only to a file
// without a column of their own.  Names compare as ColumnKey makes them.
struct ColumnName {
    const char* name;
    Value value;
};
const ColumnName kColumnNames[] = {
    {"書名", kBookName}, {"タイトル", kBookName}, {"題名", kBookName}, {"書籍名", kBookName},
    {"作品名", kBookName}, {"本のタイトル", kBookName}, {"Title", kBookName},
    {"書名(カナ)", kBookNameKana}, {"書名(ヨミ)", kBookNameKana}, {"書名(よみ)", kBookNameKana},
    {"書名(読み)", kBookNameKana}, {"書名(フリガナ)", kBookNameKana}, {"タイトル(カナ)", kBookNameKana},
    {"タイトル(ヨミ)", kBookNameKana}, {"タイトル(読み)", kBookNameKana},
    {"著者", kAuthor}, {"著者名", kAuthor}, {"作者", kAuthor}, {"作者名", kAuthor}, {"著作者", kAuthor},
    {"作家", kAuthor}, {"Author", kAuthor}, {"Authors", kAuthor},
    {"著者(カナ)", kAuthorKana}, {"著者(ヨミ)", kAuthorKana}, {"著者(よみ)", kAuthorKana},
    {"著者(読み)", kAuthorKana}, {"著者名(カナ)", kAuthorKana}, {"著者名(ヨミ)", kAuthorKana},
    {"作者(カナ)", kAuthorKana}, {"作者(ヨミ)", kAuthorKana},
    {"発行年", kYear}, {"出版年", kYear}, {"刊行年", kYear}, {"発売年", kYear}, {"Year", kYear},
    {"発行月", kMonth}, {"出版月", kMonth}, {"刊行月", kMonth}, {"発売月", kMonth}, {"Month", kMonth},
    {"発売日", kDate}, {"発行日", kDate}, {"出版日", kDate}, {"刊行日", kDate},
    {"発行年月日", kDate}, {"出版年月日", kDate}, {"発売年月日", kDate}, {"刊行年月日", kDate},
    {"発行年月", kDate}, {"出版年月", kDate}, {"発売年月", kDate}, {"刊行年月", kDate},
    {"Published Date", kDate}, {"Publication Date", kDate},
    {"出版者", kPublisher}, {"出版社", kPublisher}, {"出版社名", kPublisher}, {"発行者", kPublisher},
    {"発行所", kPublisher}, {"版元", kPublisher}, {"Publisher", kPublisher},
    {"出版者(カナ)", kPublisherKana}, {"出版社(カナ)", kPublisherKana}, {"出版社名(カナ)", kPublisherKana},
    {"出版者(ヨミ)", kPublisherKana}, {"出版社(ヨミ)", kPublisherKana}, {"発行者(カナ)", kPublisherKana},
    {"場所", kPlace}, {"保管場所", kPlace}, {"置き場所", kPlace}, {"配架場所", kPlace}, {"所在", kPlace},
    {"本棚", kPlace}, {"棚", kPlace}, {"Location", kPlace}, {"Shelf", kPlace},
    {"場所(カナ)", kPlaceKana}, {"場所(ヨミ)", kPlaceKana}, {"保管場所(カナ)", kPlaceKana},
    {"置き場所(カナ)", kPlaceKana},
    {"ISBN", kISBN}, {"ISBN-13", kISBN}, {"ISBNコード", kISBN}, {"ISBN-10", kISBN},
};
constexpr std::size_t kColumnNameCount = sizeof kColumnNames / sizeof kColumnNames[0];

// A header name as it compares: full-width letters, digits and signs as
// ASCII, ASCII letters in lower case, and without spaces, hyphens,
// underscores, middle dots or brackets, so that "ＩＳＢＮ－１３",
// "isbn13", "書名（カナ）" and "書名カナ" are the names above.
std::u16string ColumnKey(const std::string& name)
{
    std::u16string key;
    for (char16_t c : Utf8ToUtf16(name)) {
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFEE0);
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (std::u16string_view(u" \t\u3000-_()・").find(c) != std::u16string_view::npos) continue;
        key += c;
    }
    return key;
}

// The row of kColumnNames that a header name is, or kColumnNameCount.
std::size_t FindColumnName(const std::string& name)
{
    static const std::vector<std::u16string> keys = [] {
        std::vector<std::u16string> made;
        for (const ColumnName& known : kColumnNames) made.push_back(ColumnKey(known.name));
        return made;
    }();
    const std::u16string key = ColumnKey(name);
    for (std::size_t i = 0; i < kColumnNameCount; ++i)
        if (keys[i] == key) return i;
    return kColumnNameCount;
}

// Where a value comes from: its column, and whether that column is a date.
struct Source {
    std::size_t column = 0;
    bool date = false;
};
using Sources = std::array<std::optional<Source>, kCsvColumnCount>;

// Blanks around a number, a date or a header name: ASCII spaces and tabs,
// and the ideographic space that Japanese input gives.
std::string_view Trim(std::string_view text)
{
    static constexpr std::string_view kBlanks[] = {" ", "\t", "\xE3\x80\x80"};
    for (bool cut = true; cut;) {
        cut = false;
        for (std::string_view blank : kBlanks) {
            for (; text.substr(0, blank.size()) == blank; cut = true) text.remove_prefix(blank.size());
            for (; text.size() >= blank.size() && text.substr(text.size() - blank.size()) == blank; cut = true)
                text.remove_suffix(blank.size());
        }
    }
    return text;
}

bool IsBlank(const std::string& text)
{
    return Trim(text).empty();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digits at the start of the text, taken off it, as a number of at
// most maxDigits digits that fits 32 bits; none when there is no such number.
std::optional<int32_t> Digits(std::string_view& text, std::size_t maxDigits = 10)
{
    std::size_t count = 0;
    int64_t value = 0;
    while (count < text.size() && IsDigit(text[count])) {
        if (++count > maxDigits) return std::nullopt;
        value = value * 10 + (text[count - 1] - '0');
        if (value > INT32_MAX) return std::nullopt;
    }
    if (count == 0) return std::nullopt;
    text.remove_prefix(count);
    return static_cast<int32_t>(value);
}

bool Take(std::string_view& text, std::string_view what)
{
    if (text.substr(0, what.size()) != what) return false;
    text.remove_prefix(what.size());
    return true;
}

// A year or month column: a whole number, blanks around it allowed; an
// empty field is 0.
std::optional<int32_t> WholeNumber(const std::string& field)
{
    std::string_view text = Trim(field);
    if (text.empty()) return 0;
    const bool negative = Take(text, "-");
    if (!negative) Take(text, "+");
    std::optional<int32_t> value = Digits(text);
    if (!value || !text.empty()) return std::nullopt;
    return negative ? -*value : *value;
}

struct YearMonth {
    int32_t year = 0;
    int32_t month = 0;
};

// A date column: 2014/05/20, 2014-05, 2014.5.20, 2014年5月20日, 2014年5月,
// 2014, 20140520, 201405, with a time after a date allowed (Excel writes
// "2014/5/20 0:00").  An empty field is year and month 0.
std::optional<YearMonth> DateValue(const std::string& field)
{
    std::string_view text = Trim(field);
    if (text.empty()) return YearMonth{};
    const std::size_t length = text.size();
    std::optional<int32_t> year = Digits(text, 8);
    if (!year) return std::nullopt;
    const std::size_t yearDigits = length - text.size();
    std::optional<int32_t> month, day;
    if (yearDigits == 8 && text.empty()) {
        day = *year % 100;
        month = *year / 100 % 100;
        year = *year / 10000;
    } else if (yearDigits == 6 && text.empty()) {
        month = *year % 100;
        year = *year / 100;
    } else if (yearDigits > 4) {
        return std::nullopt;
    } else if (Take(text, "年")) {
        if (!text.empty() && (!(month = Digits(text, 2)) || !Take(text, "月"))) return std::nullopt;
        if (!text.empty() && (!(day = Digits(text, 2)) || !Take(text, "日"))) return std::nullopt;
    } else if (!text.empty()) {
        const std::string_view separator = text.substr(0, 1);
        if (separator != "/" && separator != "-" && separator != ".") return std::nullopt;
        text.remove_prefix(1);
        if (!(month = Digits(text, 2))) return std::nullopt;
        if (Take(text, separator)) {
            if (!(day = Digits(text, 2))) return std::nullopt;
            // A time of day after the date.
            if (Take(text, " ")) {
                text = Trim(text);
                while (!text.empty() && (IsDigit(text[0]) || text[0] == ':')) text.remove_prefix(1);
            }
        }
    }
    if (!text.empty() || (month && (*month < 1 || *month > 12)) || (day && (*day < 1 || *day > 31)))
        return std::nullopt;
    return YearMonth{*year, month.value_or(0)};
}

// A field's value as a problem names it: at most 20 characters.
std::string Quoted(const std::string& value)
{
    constexpr std::size_t kShown = 20;
    const std::u16string wide = Utf8ToUtf16(value);
    if (wide.size() <= kShown) return "「" + value + "」";
    return "「" + Utf16ToUtf8(CutUtf16Text(wide, kShown)) + "…」";
}

bool StartsLikeFormula(std::string_view text)
{
    const std::size_t start = text.find_first_not_of('\'');
    if (start == std::string_view::npos) return false;
    return std::string_view("=+-@\t\r").find(text[start]) != std::string_view::npos;
}

class ImportCheck {
public:
    explicit ImportCheck(ImportPlan& plan) : plan_(plan) {}

    void Problem(std::size_t line, std::string what)
    {
        if (plan_.problems.size() < kImportProblemsKept) plan_.problems.push_back({line, std::move(what)});
        ++plan_.problemCount;
    }

    // Which column gives each value; the names of the columns that give
    // none.  False when the header has no title column.
    bool MatchHeader(const CsvRecord& header)
    {
        names_ = header.fields;
        std::array<std::size_t, kCsvColumnCount> rank;
        rank.fill(kColumnNameCount);
        std::vector<bool> used(names_.size(), false);
        for (std::size_t column = 0; column < names_.size(); ++column) {
            const std::size_t known = FindColumnName(names_[column]);
            if (known == kColumnNameCount) continue;
            const Value value = kColumnNames[known].value;
            auto offer = [&](Value given) {
                if (known >= rank[given]) return;
                rank[given] = known;
                sources_[given] = Source{column, value == kDate};
            };
            if (value == kDate) {
                offer(kYear);
                offer(kMonth);
            } else {
                offer(value);
            }
        }
        for (const std::optional<Source>& source : sources_)
            if (source) used[source->column] = true;
        for (std::size_t column = 0; column < names_.size(); ++column)
            if (!used[column] && !IsBlank(names_[column])) plan_.ignoredColumns.push_back(names_[column]);
        return sources_[kBookName].has_value();
    }

    // Fills the book from a row; false when the row is empty or wrong.
    bool Book(CsvRecord& row, BookFields& book)
    {
        if (row.error) {
            Problem(row.error->line, CsvErrorText(row.error->error));
            return false;
        }
        // Excel writes a row of empty cells as commas alone.
        bool empty = row.fieldCount <= row.fields.size();
        for (const std::string& field : row.fields) empty = empty && field.empty();
        if (empty) return false;

        const std::size_t problems = plan_.problemCount;
        if (row.fieldCount > names_.size())
            Problem(row.line, "項目が見出しより多くあります（見出しは" + std::to_string(names_.size()) + "項目、この行は"
                                  + std::to_string(row.fieldCount) + "項目）");
        for (std::size_t value = 0; value < kCsvColumnCount; ++value) {
            if (!kTextFields[value] || !sources_[value] || sources_[value]->column >= row.fields.size()) continue;
            book.*kTextFields[value] = UnprotectFormula(std::move(row.fields[sources_[value]->column]));
        }
        if (book.BookName.empty()) Problem(row.line, "書名がありません");
        ReadNumbers(row, book);
        return plan_.problemCount == problems;
    }

private:
    const std::string* Field(const CsvRecord& row, Value value) const
    {
        if (!sources_[value] || sources_[value]->column >= row.fields.size()) return nullptr;
        return &row.fields[sources_[value]->column];
    }

    void ReadNumbers(const CsvRecord& row, BookFields& book)
    {
        std::optional<std::size_t> failedDate;
        for (Value value : {kYear, kMonth}) {
            const std::string* field = Field(row, value);
            if (!field) continue;
            const Source& source = *sources_[value];
            int32_t number = 0;
            if (source.date) {
                const std::optional<YearMonth> date = DateValue(*field);
                if (!date) {
                    // One problem for a date that gives both values.
                    if (failedDate != source.column)
                        Problem(row.line, names_[source.column] + Quoted(*field) + "が日付として読めません");
                    failedDate = source.column;
                    continue;
                }
                number = value == kYear ? date->year : date->month;
            } else if (const std::optional<int32_t> whole = WholeNumber(*field)) {
                number = *whole;
            } else {
                Problem(row.line, names_[source.column] + Quoted(*field) + "が整数ではありません");
                continue;
            }
            (value == kYear ? book.Year : book.Month) = number;
        }
    }

    ImportPlan& plan_;
    std::vector<std::string> names_;
    Sources sources_;
};

}  // namespace

std::string ProtectFormula(std::string_view text)
{
    return StartsLikeFormula(text) ? "'" + std::string(text) : std::string(text);
}

std::string UnprotectFormula(std::string text)
{
    if (!text.empty() && text[0] == '\'' && StartsLikeFormula(text)) text.erase(0, 1);
    return text;
}

std::string FormatCatalogueCsv(const BookList& books, const ProgressReport& progress)
{
    std::size_t size = 64 * (books.size() + 1);
    for (const BookPtr& book : books)
        for (auto field : kTextFields)
            if (field) size += (book->Fields().*field).size();
    std::string out;
    out.reserve(size);
    out += kUtf8ByteOrderMark;
    for (std::size_t column = 0; column < kCsvColumnCount; ++column) {
        if (column > 0) out += ',';
        out += kCsvColumnLabels[column];
    }
    out += kCsvLineEnd;

    std::size_t done = 0;
    for (const BookPtr& book : books) {
        const BookFields& f = book->Fields();
        for (std::size_t column = 0; column < kCsvColumnCount; ++column) {
            if (column > 0) out += ',';
            if (kTextFields[column]) {
                const std::string& text = f.*kTextFields[column];
                if (StartsLikeFormula(text))
                    AppendCsvField(out, ProtectFormula(text));
                else
                    AppendCsvField(out, text);
            } else {
                const int32_t number = column == kYear ? f.Year : f.Month;
                if (number != 0) out += DecimalText(number);
            }
        }
        out += kCsvLineEnd;
        if (++done % kProgressInterval == 0) ReportProgress(progress, done, books.size());
    }
    ReportProgress(progress, books.size(), books.size());
    return out;
}

std::string ImportProblemText(const ImportProblem& problem)
{
    if (problem.line == 0) return problem.what;
    return std::to_string(problem.line) + "行目: " + problem.what;
}

ImportPlan PlanCatalogueImport(std::string fileBytes, const BookList& catalogue, const ProgressReport& progress)
{
    ImportPlan plan;
    ImportCheck check(plan);
    const DecodedCsv decoded = DecodeCsvBytes(std::move(fileBytes));
    for (const CsvErrorAt& error : decoded.errors) check.Problem(error.line, CsvErrorText(error.error));
    if (!decoded.errors.empty()) return plan;

    CsvReader reader(decoded.text);
    CsvRecord record;
    if (!reader.Next(record, kImportColumnLimit)) {
        check.Problem(0, "見出しの行がありません");
        return plan;
    }
    if (record.error) {
        check.Problem(record.error->line, CsvErrorText(record.error->error));
        return plan;
    }
    if (record.fieldCount > kImportColumnLimit) {
        check.Problem(record.line, "見出しの項目が多すぎます（" + std::to_string(kImportColumnLimit) + "項目まで）");
        return plan;
    }
    if (!check.MatchHeader(record)) {
        check.Problem(record.line, "書名の列がありません（見出しに「書名」か「タイトル」の列が要ります）");
        return plan;
    }

    const std::size_t columns = record.fields.size();
    std::optional<BookId> id = NextBookId(catalogue);
    std::size_t rows = 0;
    while (reader.Next(record, columns)) {
        BookFields book;
        // A bad file takes no memory for books once its first problem is known.
        if (check.Book(record, book) && plan.problemCount == 0) {
            if (!id) {
                check.Problem(0, "書籍IDが上限に達したため、これ以上追加できません");
                break;
            }
            book.ID = *id;
            id = *id < std::numeric_limits<BookId>::max() ? std::optional<BookId>(*id + 1) : std::nullopt;
            plan.books.push_back(MakeBook(std::move(book)));
        }
        if (++rows % kProgressInterval == 0) ReportProgress(progress, reader.Offset(), decoded.text.size());
    }
    ReportProgress(progress, decoded.text.size(), decoded.text.size());
    if (plan.problemCount > 0) plan.books.clear();
    return plan;
}

std::string ImportProblemsMessage(const ImportPlan& plan, std::size_t shown)
{
    std::string message;
    for (std::size_t i = 0; i < plan.problems.size() && i < shown; ++i) {
        if (i > 0) message += "\r\n";
        message += ImportProblemText(plan.problems[i]);
    }
    if (plan.problemCount > shown)
        message += "\r\nほかに" + std::to_string(plan.problemCount - shown) + "件の誤りがあります";
    return message;
}

std::vector<bool> FindCopies(const BookList& catalogue, const BookList& planned)
{
    // An ISBN's 13 digits as a number.
    auto key = [](const BookPtr& book) -> std::optional<uint64_t> {
        const std::optional<std::string> digits = IsbnKey(book->Fields().ISBN);
        if (!digits) return std::nullopt;
        return std::stoull(*digits);
    };
    std::unordered_set<uint64_t> seen;
    seen.reserve(catalogue.size() + planned.size());
    for (const BookPtr& book : catalogue)
        if (const std::optional<uint64_t> isbn = key(book)) seen.insert(*isbn);
    std::vector<bool> copies(planned.size(), false);
    for (std::size_t i = 0; i < planned.size(); ++i)
        if (const std::optional<uint64_t> isbn = key(planned[i])) copies[i] = !seen.insert(*isbn).second;
    return copies;
}

BookList LeaveOutCopies(const BookList& books, const std::vector<bool>& copies)
{
    BookList kept;
    for (std::size_t i = 0; i < books.size(); ++i)
        if (i >= copies.size() || !copies[i]) kept.push_back(books[i]);
    return kept;
}
