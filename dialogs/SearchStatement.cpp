#include "dialogs/SearchStatement.h"

#include <charconv>
#include <unordered_map>
#include "resources/resource.h"
#include "store/RecordStatements.h"
#include "store/SqliteHandles.h"

const std::array<SearchCondition, kSearchConditionCount> kSearchConditions = {{
    {IDC_BOOK_NAME, "BookName", ConditionKind::Text},
    {IDC_BOOK_NAME_KANA, "BookNameKana", ConditionKind::Text},
    {IDC_AUTHOR, "Author", ConditionKind::Text},
    {IDC_AUTHOR_KANA, "AuthorKana", ConditionKind::Text},
    {IDC_YEAR, "Year", ConditionKind::Number},
    {IDC_MONTH, "Month", ConditionKind::Number},
    {IDC_PUBLISHER, "Publisher", ConditionKind::Text},
    {IDC_PUBLISHER_KANA, "PublisherKana", ConditionKind::Text},
    {IDC_PLACE, "Place", ConditionKind::Text},
    {IDC_PLACE_KANA, "PlaceKana", ConditionKind::Text},
    {IDC_ISBN, "ISBN", ConditionKind::Text},
}};

std::optional<std::string> WholeNumberText(const std::string& text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (first < last && isSpace(*first)) ++first;
    while (last > first && isSpace(last[-1])) --last;
    // from_chars takes a minus sign but not a plus sign.
    if (first < last && *first == '+') {
        ++first;
        if (first == last || *first < '0' || *first > '9') return std::nullopt;
    }
    int64_t value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return std::to_string(value);
}

std::optional<std::string> BuildSearchStatement(const SearchTexts& texts)
{
    std::string sql = "SELECT ID FROM 'Tomebox' WHERE ";
    bool conditionAdded = false;
    for (int i = 0; i < kSearchConditionCount; ++i) {
        const std::string& text = texts[i];
        // Nothing is trimmed: a text of spaces is a condition too.
        if (text.empty()) continue;
        if (conditionAdded) sql += "AND ";
        const SearchCondition& condition = kSearchConditions[i];
        sql += condition.column;
        if (condition.kind == ConditionKind::Number) {
            std::optional<std::string> number = WholeNumberText(text);
            if (!number) return std::nullopt;
            sql += '=' + *number + ' ';
        } else {
            sql += " LIKE '%" + EscapeQuotes(text) + "%' ";
        }
        conditionAdded = true;
    }
    sql += ';';
    return sql;
}

SearchOutcome CollectHitIds(sqlite3* db, const std::string& sql, std::vector<BookId>& ids)
{
    Statement statement;
    if (PrepareStatement(db, sql.c_str(), statement) != SQLITE_OK) return SearchOutcome::NotPrepared;
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(statement.get(), 0));
    return step == SQLITE_DONE ? SearchOutcome::Done : SearchOutcome::StepFailed;
}

void AppendHits(const std::vector<BookId>& ids, const BookList& catalogue, BookList& hits)
{
    if (ids.empty()) return;
    // One pass over the catalogue instead of a scan per hit; emplace keeps
    // the first record of an ID, as the scan from the front would.
    std::unordered_map<BookId, const BookPtr*> firstWithId;
    firstWithId.reserve(catalogue.size());
    for (const BookPtr& book : catalogue) firstWithId.emplace(book->GetID(), &book);
    hits.reserve(hits.size() + ids.size());
    for (BookId id : ids) {
        auto found = firstWithId.find(id);
        if (found != firstWithId.end()) hits.push_back(*found->second);
    }
}

SearchOutcome RunSearch(const SearchTexts& texts, sqlite3* db, const BookList& catalogue, BookList& hits)
{
    hits.clear();
    std::optional<std::string> sql = BuildSearchStatement(texts);
    if (!sql) return SearchOutcome::NotBuilt;
    std::vector<BookId> ids;
    SearchOutcome outcome = CollectHitIds(db, *sql, ids);
    // A failing step keeps the hits read before it, though they are not shown.
    AppendHits(ids, catalogue, hits);
    return outcome;
}
