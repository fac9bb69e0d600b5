#include "store/CsvText.h"

#include "store/TextEncoding.h"

namespace {

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Past the line end at p: CR LF, LF or a lone CR.
const char* SkipLineEnd(const char* p, const char* end)
{
    return (*p == '\r' && p + 1 < end && p[1] == '\n') ? p + 2 : p + 1;
}

bool HasNonAscii(std::string_view line)
{
    for (char c : line)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// The first lines that fail a test, by the line numbers the reader
// counts.  Neither encoding has CR or LF inside a character, so a line's
// bytes can be judged on their own.
template <typename Test>
std::vector<CsvErrorAt> LinesWhere(std::string_view bytes, CsvError error, Test fails)
{
    std::vector<CsvErrorAt> found;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (std::size_t line = 1; found.size() < kCsvErrorLinesKept; ++line) {
        const char* lineEnd = p;
        while (lineEnd < end && !IsLineEnd(*lineEnd)) ++lineEnd;
        if (fails(std::string_view(p, static_cast<std::size_t>(lineEnd - p)))) found.push_back({line, error});
        if (lineEnd == end) break;
        p = SkipLineEnd(lineEnd, end);
    }
    return found;
}

// ASCII reads the same in both encodings; only other lines are measured.
bool NotUtf8(std::string_view line)
{
    return HasNonAscii(line) && !IsUtf8Text(std::string(line));
}

bool Neither(std::string_view line)
{
    if (!HasNonAscii(line)) return false;
    const std::string bytes(line);
    return !IsUtf8Text(bytes) && !IsCp932Text(bytes);
}

}  // namespace

const char* CsvErrorText(CsvError error)
{
    switch (error) {
    case CsvError::Utf16: return "UTF-16のファイルは読み込めません。UTF-8かShift_JISで保存したファイルを選んでください";
    case CsvError::NulByte: return "NUL文字（0x00）があります";
    case CsvError::NotUtf8: return "UTF-8として読めないバイトがあります";
    case CsvError::Undecodable: return "UTF-8としてもShift_JISとしても読めないバイトがあります";
    case CsvError::MixedEncodings: return "ほかの行と文字コードが違います（UTF-8とShift_JISが混ざっています）";
    case CsvError::UnclosedQuote: return "引用符（\"）が閉じていません";
    case CsvError::TextAfterQuote: return "閉じた引用符（\"）のすぐ後に文字があります";
    }
    return "";
}

DecodedCsv DecodeCsvBytes(std::string bytes)
{
    DecodedCsv decoded{std::string(), CsvEncoding::Utf8, {}};
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        decoded.errors.push_back({1, CsvError::Utf16});
    } else if (bytes.find('\0') != std::string::npos) {
        decoded.errors = LinesWhere(bytes, CsvError::NulByte,
                                    [](std::string_view line) { return line.find('\0') != std::string_view::npos; });
    } else if (IsUtf8Text(bytes)) {
        if (StartsWith(bytes, kUtf8ByteOrderMark)) bytes.erase(0, kUtf8ByteOrderMark.size());
        decoded.text = std::move(bytes);
    } else if (StartsWith(bytes, kUtf8ByteOrderMark)) {
        // The mark says UTF-8: its bad bytes are errors, not code page 932.
        decoded.errors = LinesWhere(bytes, CsvError::NotUtf8, NotUtf8);
    } else if (IsCp932Text(bytes)) {
        decoded.text = Cp932ToUtf8(bytes);
        decoded.encoding = CsvEncoding::Cp932;
    } else {
        decoded.errors = LinesWhere(bytes, CsvError::Undecodable, Neither);
        // Every line reads in one encoding or the other, but not all in the
        // same: the lines that spoil UTF-8 are named.
        if (decoded.errors.empty()) decoded.errors = LinesWhere(bytes, CsvError::MixedEncodings, NotUtf8);
    }
    return decoded;
}

bool CsvReader::Next(CsvRecord& record, std::size_t fieldLimit)
{
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* p = begin + offset_;
    while (p < end && IsLineEnd(*p)) {
        p = SkipLineEnd(p, end);
        ++line_;
    }
    offset_ = static_cast<std::size_t>(p - begin);
    if (p == end) return false;

    record.line = line_;
    record.fieldCount = 0;
    record.error.reset();
    std::size_t kept = 0;
    for (;;) {
        std::string* field = nullptr;
        if (record.fieldCount++ < fieldLimit) {
            if (kept == record.fields.size()) record.fields.emplace_back();
            field = &record.fields[kept++];
            field->clear();
        }
        if (p < end && *p == '"') {
            const std::size_t quoteLine = line_;
            ++p;
            for (;;) {
                const char* q = p;
                for (; q < end && *q != '"'; ++q)
                    if (*q == '\n' || (*q == '\r' && (q + 1 == end || q[1] != '\n'))) ++line_;
                if (field) field->append(p, q);
                if (q == end) {
                    record.error = CsvErrorAt{quoteLine, CsvError::UnclosedQuote};
                    p = end;
                    break;
                }
                if (q + 1 < end && q[1] == '"') {
                    if (field) field->push_back('"');
                    p = q + 2;
                    continue;
                }
                p = q + 1;
                break;
            }
            if (p < end && *p != ',' && !IsLineEnd(*p)) {
                record.error = CsvErrorAt{line_, CsvError::TextAfterQuote};
                while (p < end && !IsLineEnd(*p)) ++p;
                break;
            }
        } else {
            const char* q = p;
            while (q < end && *q != ',' && !IsLineEnd(*q)) ++q;
            if (field) field->assign(p, q);
            p = q;
        }
        if (p < end && *p == ',') {
            ++p;
            continue;
        }
        break;
    }
    record.fields.resize(kept);
    if (p < end) {
        p = SkipLineEnd(p, end);
        ++line_;
    }
    offset_ = static_cast<std::size_t>(p - begin);
    return true;
}

std::vector<CsvRecord> ReadCsv(std::string_view text)
{
    std::vector<CsvRecord> records;
    CsvReader reader(text);
    CsvRecord record;
    while (reader.Next(record)) records.push_back(record);
    return records;
}

void AppendCsvField(std::string& out, std::string_view field)
{
    bool quoted = false;
    for (char c : field) {
        if (c == ',' || c == '"' || IsLineEnd(c)) {
            quoted = true;
            break;
        }
    }
    if (!quoted) {
        out += field;
        return;
    }
    out += '"';
    for (std::size_t start = 0;;) {
        const std::size_t quote = field.find('"', start);
        if (quote == std::string_view::npos) {
            out += field.substr(start);
            break;
        }
        out += field.substr(start, quote + 1 - start);
        out += '"';
        start = quote + 1;
    }
    out += '"';
}

std::string FormatCsv(const std::vector<std::vector<std::string>>& records)
{
    std::string out;
    for (const std::vector<std::string>& fields : records) {
        // A lone empty field quoted, or its line would be an empty one,
        // which holds no record.
        if (fields.size() == 1 && fields[0].empty()) out += "\"\"";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += ',';
            AppendCsvField(out, fields[i]);
        }
        out += kCsvLineEnd;
    }
    return out;
}
