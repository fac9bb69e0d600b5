// Catalogue files for the tests, written by raw SQL before the program
// starts.  Literals are UTF-8, as the file and the program hold texts.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "store/CatalogueDatabase.h"
#include "store/TextEncoding.h"

inline const char kCatalogueFile[] = "Tomebox.sqlite";

// The code page 932 bytes of a text (or of a whole statement, whose ASCII
// stays as it is): what a version-0 file holds.
inline std::string Cp932(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    std::string bytes(wide.size() * 2, '\0');
    const int written = WideCharToMultiByte(932, 0, WideText(wide), static_cast<int>(wide.size()), &bytes[0],
                                            static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return bytes;
}

// The program's own table holding the rows the statements insert, at
// version 1 (texts in UTF-8).
inline std::string CatalogueSql(const std::string& rows)
{
    return std::string(kCreateTableStatement) + rows + "PRAGMA user_version = 1;";
}

// 'x', 253 hiragana and two books (surrogate pairs): 258 UTF-16 units, more
// than a cell holds, with a pair across the limit.
inline std::string LongTitleUtf8()
{
    std::string title = "x";
    for (int i = 0; i < 253; ++i) title += u8"あ";
    return title + u8"📚📚";
}

// Five books with IDs out of row order and apart from each other; loaded in
// ID order 3, 7, 12, 25, 40.
inline std::string SampleCatalogueSql()
{
    return CatalogueSql(
           u8"INSERT INTO Tomebox VALUES ('吾輩は猫である', 'ワガハイハネコデアル', '夏目漱石', "
           u8"'ナツメソウセキ', 1905, 10, '大倉書店', 'オオクラショテン', '書斎の本棚', "
           u8"'ショサイノホンダナ', '978-4-00-310101-8', 12);"
           u8"INSERT INTO Tomebox VALUES ('表示ソフト入門', NULL, NULL, NULL, 0, 0, NULL, NULL, "
           u8"NULL, NULL, NULL, 3);"
           u8"INSERT INTO Tomebox VALUES ('O''Brien の ''本''', NULL, '', NULL, NULL, NULL, '', "
           u8"NULL, '', NULL, '', 40);"
           u8"INSERT INTO Tomebox VALUES ('日本書紀', 'ニホンショキ', '舎人親王', 'トネリシンノウ', "
           u8"-660, 2, '岩波書店', 'イワナミショテン', '居間の箪笥', 'イマノタンス', "
           u8"'978-4-00-300041-0', 7);"
           "INSERT INTO Tomebox VALUES ('" + LongTitleUtf8() +
           "', NULL, NULL, NULL, 2001, 1, NULL, NULL, NULL, NULL, NULL, 25);");
}

inline const std::vector<int> kSampleIds = {3, 7, 12, 25, 40};

// The longest prefix of the long title that fits a cell of 255 units
// without half a surrogate pair: 'x' and the hiragana.
inline std::string LongTitleCell()
{
    std::string cell = "x";
    for (int i = 0; i < 253; ++i) cell += u8"あ";
    return cell;
}

// The rows of the sample catalogue as the list view shows them, in ID order.
inline std::vector<std::vector<std::string>> SampleRows()
{
    return {
        {"表示ソフト入門", "", "", "0", "0", "", ""},
        {"日本書紀", "舎人親王", "居間の箪笥", "-660", "2", "岩波書店", "978-4-00-300041-0"},
        {"吾輩は猫である", "夏目漱石", "書斎の本棚", "1905", "10", "大倉書店", "978-4-00-310101-8"},
        {LongTitleCell(), "", "", "2001", "1", "", ""},
        {"O'Brien の '本'", "", "", "0", "0", "", ""},
    };
}

// Books "many" of 2014 with IDs 1000, 1001 and on, written in one
// statement; none for a count of 0.
inline std::string ManyBooksSql(int count)
{
    if (count <= 0) return std::string();
    return "WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(999 + count) +
           ") INSERT INTO Tomebox (BookName, Year, Month, ID) SELECT 'many', 2014, 1, i FROM n;";
}
