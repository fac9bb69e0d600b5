// The catalogue as a CSV file and back, without windows or files: the
// bytes an export writes, the plan of an import (its books, the columns it
// leaves aside, what is wrong on which line), and which of the planned
// books the catalogue holds already.
//
// An export is FormatCatalogueCsv, then WriteFileWhole (store/FileBytes.h).
// An import is ReadWholeFile, PlanCatalogueImport, FindCopies (and, when
// the user leaves them out, LeaveOutCopies), then InsertBooks
// (store/RecordStatements.h) of the plan's books; the catalogue list and
// the views gain those records only after InsertBooks succeeded.  The
// long steps take a ProgressReport for a progress bar.  A file too large
// for the memory left ends in std::bad_alloc, which the window side
// catches as it catches any other exception.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>
#include "store/BookData.h"
#include "store/Progress.h"

constexpr std::size_t kCsvColumnCount = 11;
// The export's header: the book form's labels in the table's column order.
extern const char* const kCsvColumnLabels[kCsvColumnCount];

// The file an export writes: UTF-8 with its byte-order mark, the header,
// then one line per book in the order given, every text whole, a year or
// month of 0 as an empty field, lines ended by CR LF.  The progress counts
// books.
std::string FormatCatalogueCsv(const BookList& books, const ProgressReport& progress = {});

// A text that Excel would run as a formula (one that starts with =, +, -,
// @, a tab or CR) is written after an apostrophe, which Excel shows as
// text; so is a text that is apostrophes before such a start, so that the
// import's removal of one apostrophe gives every text back exactly.
std::string ProtectFormula(std::string_view text);
std::string UnprotectFormula(std::string text);

// Something wrong with the file, on its line (0: the file as a whole).
struct ImportProblem {
    std::size_t line;
    std::string what;
};
// "3行目: 書名がありません"; the bare sentence for the file as a whole.
std::string ImportProblemText(const ImportProblem& problem);

// Problems kept in a plan: the first ones, in line order.
constexpr std::size_t kImportProblemsKept = 20;
// Columns the header may have.
constexpr std::size_t kImportColumnLimit = 1000;

struct ImportPlan {
    // The books in the order of the file, as new records with the IDs
    // after the largest of the catalogue list; empty when there is any
    // problem, so that nothing of a bad file can be added.
    BookList books;
    // The header's names that no value is taken from, as the file writes
    // them, in its order.
    std::vector<std::string> ignoredColumns;
    std::vector<ImportProblem> problems;  // the first kImportProblemsKept
    std::size_t problemCount = 0;         // all of them
};

// Decodes the file, matches its header by name and checks every row.
// Rows whose fields are all empty are skipped.  The progress counts the
// bytes of the decoded text.
ImportPlan PlanCatalogueImport(std::string fileBytes, const BookList& catalogue,
                               const ProgressReport& progress = {});

// The text of the error box: the first `shown` problems, one a line, and
// how many more there are.
std::string ImportProblemsMessage(const ImportPlan& plan, std::size_t shown = 5);

// For each planned book, whether its ISBN (compared as ISBNs) is one of
// the catalogue's or of a book before it in the plan.  A text that is no
// ISBN makes no copy.
std::vector<bool> FindCopies(const BookList& catalogue, const BookList& planned);
// The books that are no copies, in their order.  Their IDs stay as they
// are: still after the largest, if no longer one after the other.
BookList LeaveOutCopies(const BookList& books, const std::vector<bool>& copies);
