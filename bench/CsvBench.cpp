// The catalogue as a CSV file: the export (the bytes made and written
// safely) beside the bare making and writing of the same bytes, and the
// import (file read, decoded, parsed and checked, new records added in one
// transaction and to the main list) beside a bare parse, a bare
// one-transaction insert and a bare list fill of the same rows.
// Catalogues of 1,000, 10,000 and 100,000 Japanese records.
#include <windows.h>
#include <commctrl.h>
#include <charconv>
#include <sqlite3.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "BenchBooks.h"
#include "BenchSupport.h"
#include "support/ScratchDirectory.h"
#include "listview/BookListView.h"
#include "store/CatalogueCsv.h"
#include "store/CatalogueDatabase.h"
#include "store/FileBytes.h"
#include "store/RecordStatements.h"

namespace {

bool Check(bool ok, const char* what)
{
    if (!ok) std::fprintf(stderr, "bench_csv: %s failed\n", what);
    return ok;
}

// Fields the generated books lack: some to quote, some formula starts.
void AddAwkwardTexts(std::vector<Record>& records)
{
    for (std::size_t i = 0; i < records.size(); i += 20) records[i].text[2] += u8", 編";
    for (std::size_t i = 5; i < records.size(); i += 50) records[i].text[0] = u8"\"新\"" + records[i].text[0];
    for (std::size_t i = 7; i < records.size(); i += 100) records[i].text[6] = "-" + records[i].text[6];
}

const WCHAR kExportFile[] = L"export.csv";
const std::u16string kExportPath = u"export.csv";
const char kImportCatalogue[] = "import.sqlite";

double BareWrite(const std::string& bytes, bool durable)
{
    Stopwatch watch;
    HANDLE file = CreateFileW(kExportFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (durable) FlushFileBuffers(file);
    CloseHandle(file);
    const double seconds = watch.Seconds();
    Check(written == bytes.size(), "bare write");
    return seconds;
}

// A text as the export writes it, by the barest code: quoted when it holds
// a comma, a quote or a line end, after an apostrophe when it starts like
// a formula.
void BareField(std::string& out, const std::string& text)
{
    bool quoted = false;
    for (char c : text) quoted |= c == ',' || c == '"' || c == '\r' || c == '\n';
    std::size_t start = 0;
    while (start < text.size() && text[start] == '\'') ++start;
    const char first = start < text.size() ? text[start] : '\0';
    const bool formula = first == '=' || first == '+' || first == '-' || first == '@' || first == '\t' || first == '\r';
    if (quoted) out += '"';
    if (formula) out += '\'';
    if (!quoted) {
        out += text;
        return;
    }
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// The same bytes as the export, made straight from the records.
std::string BareFormat(const BookList& books)
{
    std::size_t size = 128;
    for (const BookPtr& book : books) {
        const BookFields& f = book->Fields();
        size += 40 + f.BookName.size() + f.BookNameKana.size() + f.Author.size() + f.AuthorKana.size() +
                f.Publisher.size() + f.PublisherKana.size() + f.Place.size() + f.PlaceKana.size() + f.ISBN.size();
    }
    std::string out;
    out.reserve(size);
    out += "\xEF\xBB\xBF";
    out += u8"書名,書名(カナ),著者,著者(カナ),発行年,発行月,出版者,出版者(カナ),場所,場所(カナ),ISBN\r\n";
    char number[16];
    for (const BookPtr& book : books) {
        const BookFields& f = book->Fields();
        BareField(out, f.BookName);
        out += ',';
        BareField(out, f.BookNameKana);
        out += ',';
        BareField(out, f.Author);
        out += ',';
        BareField(out, f.AuthorKana);
        out += ',';
        if (f.Year) out.append(number, std::to_chars(number, number + sizeof number, f.Year).ptr);
        out += ',';
        if (f.Month) out.append(number, std::to_chars(number, number + sizeof number, f.Month).ptr);
        for (const std::string* text : {&f.Publisher, &f.PublisherKana, &f.Place, &f.PlaceKana, &f.ISBN}) {
            out += ',';
            BareField(out, *text);
        }
        out += "\r\n";
    }
    return out;
}

// The floor of the export: the bytes made barely, then written by one
// CreateFile and one WriteFile, flushed to the disk as a write that may
// replace a file must be.  The bare write alone, unflushed, is kept
// beside it for reference.
double BareExport(const BookList& books, const std::string& expected)
{
    Stopwatch watch;
    const std::string bytes = BareFormat(books);
    const double seconds = watch.Seconds() + BareWrite(bytes, true);
    Check(bytes == expected, "the bare export's bytes");
    return seconds;
}

struct ExportTimes {
    double format, write;
};

ExportTimes Export(const BookList& books, std::string& bytes)
{
    Stopwatch watch;
    bytes = FormatCatalogueCsv(books);
    const double format = watch.Seconds();
    const bool written = WriteFileWhole(kExportPath, bytes);
    const double total = watch.Seconds();
    Check(written, "export");
    return {format, total - format};
}

// An empty catalogue of the program's table, open on the connection.
void FreshCatalogue(CatalogueConnection& db)
{
    db.Close();
    DeleteFileA(kImportCatalogue);
    Check(db.Open(kImportCatalogue) == SQLITE_OK
              && sqlite3_exec(db.get(), kCreateTableStatement, nullptr, nullptr, nullptr) == SQLITE_OK,
          "a fresh catalogue");
}

// The import as the command runs it, into an empty catalogue shown by the
// program's view on a list pane.
double Import(std::size_t expected)
{
    Catalogue catalogue;
    FreshCatalogue(catalogue.db);
    HWND listView = nullptr;
    HWND window = PaneWindow(nullptr, listView);
    std::unique_ptr<BookView> view = MakeBookView(listView, nullptr, 96);
    view->Show({});
    Stopwatch watch;
    FileBytes file = ReadWholeFile(kExportPath);
    ImportPlan plan = PlanCatalogueImport(std::move(file.bytes), catalogue.books);
    const std::size_t copies = FindCopies(catalogue.books, plan.books).size();
    const bool added = InsertBooks(catalogue, plan.books);
    catalogue.books.insert(catalogue.books.end(), plan.books.begin(), plan.books.end());
    view->AddAll(plan.books);
    const double seconds = watch.Seconds();
    Check(added && copies == expected && view->Records().size() == expected, "import");
    DestroyWindow(window);
    return seconds;
}

// One field at p, unquoted in place; p moves past its comma or line end.
struct Field {
    const char* data;
    int size;
};
char* BareField(char* p, char* end, Field& field, bool& lineEnd)
{
    if (p < end && *p == '"') {
        char* start = ++p;
        char* out = start;
        for (;;) {
            while (p < end && *p != '"') *out++ = *p++;
            if (p + 1 < end && p[1] == '"') {
                *out++ = '"';
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        field = {start, static_cast<int>(out - start)};
    } else {
        char* start = p;
        while (p < end && *p != ',' && *p != '\r' && *p != '\n') ++p;
        field = {start, static_cast<int>(p - start)};
    }
    lineEnd = !(p < end && *p == ',');
    if (!lineEnd) return p + 1;
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
    return p;
}

// The floor of the import: the file read with one ReadFile, its rows split
// in place, each row kept as the catalogue keeps a book (a string per
// text, a shared record) and its fields bound to one prepared INSERT, in
// one transaction, nothing checked; then the rows filled into a bare list
// pane with the messages the view sends.
double BareImport(std::size_t expected)
{
    CatalogueConnection db;
    FreshCatalogue(db);
    BookList books;
    HWND listView = nullptr;
    HWND window = PaneWindow(nullptr, listView);
    Stopwatch watch;
    HANDLE file = CreateFileW(kExportFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);

    char* p = &bytes[0] + 3;  // past the byte-order mark
    char* const end = &bytes[0] + read;
    Field fields[11];
    bool lineEnd = false;
    while (!lineEnd) p = BareField(p, end, fields[0], lineEnd);  // the header
    sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db.get(), "INSERT INTO Tomebox VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    auto text = [&fields](int column) { return std::string(fields[column].data, fields[column].size); };
    while (p < end) {
        for (Field& field : fields) p = BareField(p, end, field, lineEnd);
        books.push_back(MakeBook(BookFields{text(0), text(1), text(2), text(3), std::atoi(text(4).c_str()),
                                            std::atoi(text(5).c_str()), text(6), text(7), text(8), text(9),
                                            text(10), static_cast<BookId>(books.size())}));
        const BookFields& f = books.back()->Fields();
        const std::string* texts[] = {&f.BookName, &f.BookNameKana, &f.Author, &f.AuthorKana, nullptr, nullptr,
                                      &f.Publisher, &f.PublisherKana, &f.Place, &f.PlaceKana, &f.ISBN};
        for (int column = 0; column < 11; ++column) {
            if (!texts[column])
                sqlite3_bind_int(insert, column + 1, column == 4 ? f.Year : f.Month);
            else if (texts[column]->empty() && column > 0)
                sqlite3_bind_null(insert, column + 1);
            else
                sqlite3_bind_text(insert, column + 1, texts[column]->data(), static_cast<int>(texts[column]->size()),
                                  SQLITE_STATIC);
        }
        sqlite3_bind_int64(insert, 12, f.ID);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool committed = sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    bare::FillRows(listView, books);
    const double seconds = watch.Seconds();
    Check(committed && books.size() == expected, "bare import");
    DestroyWindow(window);
    return seconds;
}

struct Figures {
    double writeFloor, exportFloor, format, write, importFloor, import;
};

// Medians of several runs, the floors and the figures taken in turn.
Figures Measure(const BookList& books)
{
    std::vector<double> writeFloor, exportFloor, format, write, importFloor, import;
    std::string bytes;
    const int repeats = 5;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        const ExportTimes times = Export(books, bytes);
        format.push_back(times.format);
        write.push_back(times.write);
        writeFloor.push_back(BareWrite(bytes, false));
        exportFloor.push_back(BareExport(books, bytes));

        if (repeat % 2 == 0) importFloor.push_back(BareImport(books.size()));
        import.push_back(Import(books.size()));
        if (repeat % 2 == 1) importFloor.push_back(BareImport(books.size()));
    }
    return {Median(writeFloor), Median(exportFloor), Median(format), Median(write), Median(importFloor), Median(import)};
}

}  // namespace

int main()
{
    InitCommonControls();
    ScratchDirectory dir;  // the current directory while measuring
    std::printf("bench_csv: CSV export and import, median of 5 runs (ms)\n");
    std::printf("%8s | %10s %8s %8s %8s %8s %8s | %8s %8s %8s\n", "records", "bare write", "floor", "export",
                "ratio", "format", "write", "floor", "import", "ratio");
    double exportRatio = 0, writeRatio = 0, importRatio = 0;
    for (int count : {1000, 10000, 100000}) {
        std::vector<Record> records = MakeRecords(count);
        AddAwkwardTexts(records);
        const Figures f = Measure(MakeBooks(records));
        const double exported = f.format + f.write;
        std::printf("%8d | %10.1f %8.1f %8.1f %8s %8.1f %8.1f | %8.1f %8.1f %8s\n", count, f.writeFloor * 1000,
                    f.exportFloor * 1000, exported * 1000, Ratio(exported, f.exportFloor), f.format * 1000,
                    f.write * 1000, f.importFloor * 1000, f.import * 1000, Ratio(f.import, f.importFloor));
        std::fflush(stdout);
        exportRatio = f.exportFloor > 0 ? exported / f.exportFloor : 0;
        writeRatio = f.writeFloor > 0 ? exported / f.writeFloor : 0;
        importRatio = f.importFloor > 0 ? f.import / f.importFloor : 0;
    }
    auto met = [](double ratio) { return ratio > 0 && ratio <= 1.3 ? "met" : "not met"; };
    std::printf(
        "export: FormatCatalogueCsv (format), then WriteFileWhole (write: a file beside the target, flushed,\n"
        "moved over it).  floor: the same bytes made by a bare loop over the records, written by one CreateFile\n"
        "and one WriteFile and flushed (FlushFileBuffers), which a write that replaces a file whole or not at\n"
        "all cannot do without.  bare write: only the writing of the bytes made beforehand, unflushed.\n"
        "import: ReadWholeFile, PlanCatalogueImport, FindCopies, InsertBooks and the records added to the\n"
        "program's view of a list pane.  floor: one ReadFile, the rows split in place, each kept as the\n"
        "catalogue keeps a book and inserted by one prepared INSERT in one transaction, nothing checked, then\n"
        "filled into a bare list pane with the same messages.\n"
        "targets at 100,000 records, within 1.3x: export (%.2fx): %s; import (%.2fx): %s.  Export beside the\n"
        "bare write alone: %.2fx\n",
        exportRatio, met(exportRatio), importRatio, met(importRatio), writeRatio);
    std::fflush(stdout);
    return 0;
}
