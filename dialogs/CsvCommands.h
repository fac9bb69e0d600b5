// The ファイル menu's CSV commands: the catalogue out to a CSV file, and the
// books of a CSV file into the catalogue.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>
#include <vector>

// Asks for the file, then writes every book in the order of the main list.
// A failure is shown, and the file is then as it was.
void ExportCatalogueCsv(HWND owner);

// Asks for the file, checks all of it, asks about copies, adds its books
// in one transaction and says what it did.  A file with errors adds
// nothing and names the lines.
void ImportCatalogueCsv(HWND owner);

// The question about copies (Yes: add them too, No: leave them out,
// Cancel: import nothing), and the summary of an import.
std::u16string CopiesQuestion(std::size_t copies);
std::u16string ImportSummary(std::size_t added, std::size_t leftOut, const std::vector<std::string>& ignoredColumns);
