#include "dialogs/CsvCommands.h"

#include <commdlg.h>
#include <algorithm>
#include "dialogs/Globals.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/ProgressWindow.h"
#include "store/CatalogueCsv.h"
#include "store/FileBytes.h"
#include "store/RecordStatements.h"
#include "store/TextEncoding.h"

namespace {

const WCHAR kCsvFilter[] = L"CSVファイル (*.csv)\0*.csv\0";

// The system's file dialogs live in comdlg32, which brings shell32 and ole32
// with it: loaded when a CSV command first asks for a file, not by every
// start-up, whose time and memory they would add to.
using FileDialog = BOOL(WINAPI*)(OPENFILENAMEW*);
FileDialog FileDialogFunction(bool saving)
{
    static const HMODULE dialogs = LoadLibraryW(L"comdlg32.dll");
    if (!dialogs) return nullptr;
    return reinterpret_cast<FileDialog>(
        reinterpret_cast<void*>(GetProcAddress(dialogs, saving ? "GetSaveFileNameW" : "GetOpenFileNameW")));
}

// The path the user chose in the system's file dialog; empty when cancelled.
std::u16string AskForFile(HWND owner, bool saving)
{
    WCHAR path[32768] = L"Tomebox.csv";
    if (!saving) path[0] = L'\0';
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kCsvFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(sizeof path / sizeof path[0]);
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   (saving ? OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN : OFN_FILEMUSTEXIST);
    const FileDialog ask = FileDialogFunction(saving);
    const BOOL chosen = ask ? ask(&dialog) : FALSE;
    return chosen ? std::u16string(reinterpret_cast<const char16_t*>(path)) : std::u16string();
}

// The plan of the chosen file, checked whole; empty when its books can be
// added, else what to tell the user.  (Said once the progress window and
// its hold on the other windows are gone.)
std::string PlanImport(HWND owner, const std::u16string& path, ImportPlan& plan)
{
    ProgressWindow progress(owner, u"CSVファイルから読み込み");
    progress.Step(u"CSVファイルを読み込んでいます");
    FileBytes file = ReadWholeFile(path);
    if (file.outcome != FileRead::Read) return FileReadMessage(file.outcome);
    plan = PlanCatalogueImport(std::move(file.bytes), g_globals.catalogue.books, progress.Reporter());
    if (plan.problemCount == 0) return std::string();
    return "CSVファイルに誤りがあるため、何も追加しませんでした。\r\n" + ImportProblemsMessage(plan);
}

// Adds the books to the file, then to the catalogue list and its view.
bool AddImportedBooks(HWND owner, const BookList& books)
{
    ProgressWindow progress(owner, u"CSVファイルから読み込み");
    progress.Step(u"目録に追加しています");
    if (!InsertBooks(g_globals.catalogue, books, progress.Reporter())) return false;
    g_globals.catalogue.books.insert(g_globals.catalogue.books.end(), books.begin(), books.end());
    g_globals.catalogueView->AddAll(books, progress.Reporter());
    return true;
}

std::u16string Decimal(std::size_t count)
{
    return Utf8ToUtf16(std::to_string(count));
}

}  // namespace

std::u16string CopiesQuestion(std::size_t copies)
{
    return u"ISBNが目録の本、またはファイルの前の行の本と同じ本が" + Decimal(copies) +
           u"冊あります。\r\nこれらも追加しますか？\r\n\r\nはい: すべて追加します\r\nいいえ: これらを除いて追加します\r\n"
           u"キャンセル: 何も追加しません";
}

std::u16string ImportSummary(std::size_t added, std::size_t leftOut, const std::vector<std::string>& ignoredColumns)
{
    std::u16string summary = Decimal(added) + u"冊を追加しました。";
    if (leftOut > 0) summary += u"\r\n同じISBNの本" + Decimal(leftOut) + u"冊は追加しませんでした。";
    if (!ignoredColumns.empty()) {
        summary += u"\r\n読み込まなかった列: ";
        for (std::size_t i = 0; i < ignoredColumns.size(); ++i)
            summary += (i > 0 ? u"、" : u"") + Utf8ToUtf16(ignoredColumns[i]);
    }
    return summary;
}

void ExportCatalogueCsv(HWND owner)
{
    const std::u16string path = AskForFile(owner, true);
    if (path.empty()) return;
    // The books as the main list shows them now.
    const BookList books = g_globals.catalogueView->Records();
    bool written;
    {
        ProgressWindow progress(owner, u"CSVファイルへ書き出し");
        progress.Step(u"CSVファイルへ書き出しています");
        written = WriteFileWhole(path, FormatCatalogueCsv(books, progress.Reporter()));
    }
    if (!written) ShowError(owner, "CSVファイルへの書き出しに失敗しました");
}

void ImportCatalogueCsv(HWND owner)
{
    const std::u16string path = AskForFile(owner, false);
    if (path.empty()) return;
    ImportPlan plan;
    const std::string refused = PlanImport(owner, path, plan);
    if (!refused.empty()) {
        ShowError(owner, refused.c_str());
        return;
    }

    BookList books = std::move(plan.books);
    const std::vector<bool> copies = FindCopies(g_globals.catalogue.books, books);
    const std::size_t copyCount = static_cast<std::size_t>(std::count(copies.begin(), copies.end(), true));
    std::size_t leftOut = 0;
    if (copyCount > 0) {
        switch (AskYesNoCancel(owner, CopiesQuestion(copyCount))) {
        case IDYES: break;
        case IDNO:
            books = LeaveOutCopies(books, copies);
            leftOut = copyCount;
            break;
        default: return;
        }
    }
    if (!AddImportedBooks(owner, books)) {
        ShowError(owner, "データベースへの追加に失敗しました");
        return;
    }
    ShowDone(owner, ImportSummary(books.size(), leftOut, plan.ignoredColumns));
}
