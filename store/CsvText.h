// CSV as RFC 4180 has it: a file's bytes decoded to text, text read into
// records of fields, fields written back as text.  Plain functions over
// text, no files and no windows, made for input from anywhere: whatever
// the bytes, the result is records or errors that name their lines, in
// time that grows with the text and no faster.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class CsvError {
    Utf16,          // the file starts with a UTF-16 byte-order mark
    NulByte,        // a NUL byte: no text file of either encoding holds one
    NotUtf8,        // the file says it is UTF-8 (its BOM) and the line is not
    Undecodable,    // the line is neither UTF-8 nor code page 932
    MixedEncodings, // the line is not UTF-8, while other lines are no code page 932
    UnclosedQuote,  // a quoted field runs to the end of the file
    TextAfterQuote, // a quoted field's closing quote is followed by more than a comma or a line end
};

// The sentence that tells the user what is wrong, in Japanese.
const char* CsvErrorText(CsvError error);

// An error and the line it is on; lines count from 1, and a line ends at
// CR LF, LF or a lone CR.
struct CsvErrorAt {
    std::size_t line;
    CsvError error;
};

// How many of a file's undecodable lines are named: enough for the user to
// see what is wrong, few enough to show.
constexpr std::size_t kCsvErrorLinesKept = 20;

enum class CsvEncoding { Utf8, Cp932 };

struct DecodedCsv {
    std::string text;                // UTF-8, without the byte-order mark
    CsvEncoding encoding;
    std::vector<CsvErrorAt> errors;  // when any, text is empty
};

// UTF-8 with or without its byte-order mark, else code page 932 (what
// Excel on a Japanese Windows saves).  A file that is neither, holds NUL
// bytes or is UTF-16 gives the first lines that show it.
DecodedCsv DecodeCsvBytes(std::string bytes);

struct CsvRecord {
    std::size_t line = 0;             // where the record starts
    std::vector<std::string> fields;  // the first fields, up to the reader's limit
    std::size_t fieldCount = 0;       // all its fields, those beyond the limit too
    // Set when the record could not be read whole; its fields are then
    // what was read before the fault.
    std::optional<CsvErrorAt> error;
};

// Reads records one at a time, so that a file of many rows costs no more
// memory than its rows.  Empty lines hold no record.  A quoted field keeps
// its quotes undoubled and its line ends as they are; a quote inside an
// unquoted field is an ordinary character.  After a TextAfterQuote error
// the rest of that line is skipped and reading goes on at the next.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}
    // The reader keeps no copy: the text must outlive it.
    explicit CsvReader(std::string&&) = delete;

    // The next record, into record (whose storage is reused).  Fields
    // beyond fieldLimit are counted but not kept, so that a line of a
    // million commas costs nothing.  False once the text is through.
    bool Next(CsvRecord& record, std::size_t fieldLimit = kEveryField);
    // Bytes read so far.
    std::size_t Offset() const { return offset_; }

    static constexpr std::size_t kEveryField = static_cast<std::size_t>(-1);

private:
    std::string_view text_;
    std::size_t offset_ = 0;
    std::size_t line_ = 1;
};

// Every record of the text.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// A field as the writer puts it: quoted, its quotes doubled, when it holds
// a comma, a quote, CR or LF; as it is otherwise.
void AppendCsvField(std::string& out, std::string_view field);
// Records of fields separated by commas, each line ended by CR LF.
std::string FormatCsv(const std::vector<std::vector<std::string>>& records);

constexpr std::string_view kCsvLineEnd = "\r\n";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
