// The catalogue store at start-up: loading a version-1 file against its
// floor (a bare prepare/step loop over the same table that keeps the
// values), and upgrading a version-0 file.
// Catalogues of 1,000, 10,000 and 100,000 Japanese records.
#include <windows.h>
#include <sqlite3.h>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "support/Catalogues.h"
#include "support/ScratchDirectory.h"
#include "store/CatalogueDatabase.h"
#include "store/TextEncoding.h"

namespace {

// A word and its kana reading.
struct Word {
    const char* text;
    const char* kana;
};

const Word kOpenings[] = {
    {"新しい", "アタラシイ"}, {"静かな", "シズカナ"},   {"遠い", "トオイ"},       {"小さな", "チイサナ"},
    {"青い", "アオイ"},       {"はじめての", "ハジメテノ"}, {"現代の", "ゲンダイノ"}, {"日本の", "ニホンノ"},
    {"", ""},                 {"", ""},
};
const Word kNouns[] = {
    {"海", "ウミ"},         {"空", "ソラ"},         {"風", "カゼ"},       {"森", "モリ"},
    {"夜", "ヨル"},         {"星", "ホシ"},         {"花", "ハナ"},       {"雪", "ユキ"},
    {"街", "マチ"},         {"旅", "タビ"},         {"時間", "ジカン"},   {"記憶", "キオク"},
    {"物語", "モノガタリ"}, {"歴史", "レキシ"},     {"科学", "カガク"},   {"世界", "セカイ"},
    {"図書館", "トショカン"}, {"料理", "リョウリ"}, {"数学", "スウガク"}, {"経済", "ケイザイ"},
    {"猫", "ネコ"},         {"表示", "ヒョウジ"},   {"構造", "コウゾウ"}, {"ソフトウェア", "ソフトウェア"},
};
const Word kEndings[] = {
    {"入門", "ニュウモン"}, {"の話", "ノハナシ"}, {"論", "ロン"},       {"読本", "ドクホン"},
    {"の研究", "ノケンキュウ"}, {"事典", "ジテン"}, {"ノート", "ノート"}, {"", ""},
};
const Word kFamilyNames[] = {
    {"佐藤", "サトウ"}, {"鈴木", "スズキ"},   {"高橋", "タカハシ"}, {"田中", "タナカ"},
    {"伊藤", "イトウ"}, {"渡辺", "ワタナベ"}, {"山本", "ヤマモト"}, {"中村", "ナカムラ"},
    {"小林", "コバヤシ"}, {"加藤", "カトウ"}, {"吉田", "ヨシダ"},   {"山田", "ヤマダ"},
};
const Word kGivenNames[] = {
    {"太郎", "タロウ"}, {"花子", "ハナコ"}, {"健一", "ケンイチ"}, {"美咲", "ミサキ"},
    {"翔太", "ショウタ"}, {"由美", "ユミ"}, {"誠", "マコト"},     {"直子", "ナオコ"},
};
const Word kPublishers[] = {
    {"岩波書店", "イワナミショテン"},     {"新潮社", "シンチョウシャ"},
    {"講談社", "コウダンシャ"},           {"角川書店", "カドカワショテン"},
    {"筑摩書房", "チクマショボウ"},       {"集英社", "シュウエイシャ"},
    {"文藝春秋", "ブンゲイシュンジュウ"}, {"東京大学出版会", "トウキョウダイガクシュッパンカイ"},
    {"技術評論社", "ギジュツヒョウロンシャ"}, {"オライリー・ジャパン", "オライリージャパン"},
};
const Word kPlaces[] = {
    {"書斎の本棚", "ショサイノホンダナ"}, {"居間の棚", "イマノタナ"},     {"寝室", "シンシツ"},
    {"押入れ", "オシイレ"},               {"段ボール箱", "ダンボールバコ"}, {"実家", "ジッカ"},
};

// Deterministic, so that every run measures the same catalogue.
class Random {
public:
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
    template <std::size_t N>
    const Word& Pick(const Word (&words)[N]) { return words[Below(N)]; }

private:
    uint32_t state_ = 2463534242u;
};

struct Record {
    std::string text[9];  // BookName, BookNameKana, Author, AuthorKana, Publisher, PublisherKana, Place, PlaceKana, ISBN
    int year, month, id;
};

std::string Isbn(Random& random)
{
    std::string digits = "9784";
    for (int i = 0; i < 8; ++i) digits += static_cast<char>('0' + random.Below(10));
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 ? 3 : 1);
    digits += static_cast<char>('0' + (10 - sum % 10) % 10);
    return digits.substr(0, 3) + "-" + digits.substr(3, 1) + "-" + digits.substr(4, 4) + "-" + digits.substr(8, 4)
           + "-" + digits.substr(12);
}

std::vector<Record> MakeRecords(int count)
{
    Random random;
    std::vector<Record> records(count);
    for (int i = 0; i < count; ++i) {
        Record& r = records[i];
        const Word& opening = random.Pick(kOpenings);
        const Word& first = random.Pick(kNouns);
        const Word& second = random.Pick(kNouns);
        const Word& ending = random.Pick(kEndings);
        r.text[0] = std::string(opening.text) + first.text + "と" + second.text + ending.text;
        r.text[1] = std::string(opening.kana) + first.kana + "ト" + second.kana + ending.kana;
        if (random.Below(8) == 0) {
            const std::string volume = std::to_string(1 + random.Below(12));
            r.text[0] += " 第" + volume + "巻";
            r.text[1] += " ダイ" + volume + "カン";
        }
        if (random.Below(50) == 0) r.text[0] += " Tom's Edition";
        const Word& family = random.Pick(kFamilyNames);
        const Word& given = random.Pick(kGivenNames);
        r.text[2] = std::string(family.text) + given.text;
        r.text[3] = std::string(family.kana) + " " + given.kana;
        const Word& publisher = random.Pick(kPublishers);
        r.text[4] = publisher.text;
        r.text[5] = publisher.kana;
        const Word& place = random.Pick(kPlaces);
        const std::string shelf = std::to_string(1 + random.Below(6));
        r.text[6] = std::string(place.text) + shelf + "段目";
        r.text[7] = random.Below(10) == 0 ? std::string() : std::string(place.kana) + shelf + "ダンメ";
        r.text[8] = random.Below(5) == 0 ? std::string() : Isbn(random);
        if (random.Below(4) == 0) r.text[1].clear();
        r.year = 1950 + static_cast<int>(random.Below(75));
        r.month = 1 + static_cast<int>(random.Below(12));
        r.id = i;
    }
    return records;
}

bool Check(bool ok, const char* what)
{
    if (!ok) std::fprintf(stderr, "bench_store: %s failed\n", what);
    return ok;
}

// A catalogue file as the program would have written it: version 1 holds
// UTF-8, version 0 the code page 932 bytes.
bool WriteCatalogue(const std::string& file, const std::vector<Record>& records, int version)
{
    sqlite3* db = nullptr;
    DeleteFileA(file.c_str());
    bool ok = sqlite3_open(file.c_str(), &db) == SQLITE_OK
              && sqlite3_exec(db, kCreateTableStatement, nullptr, nullptr, nullptr) == SQLITE_OK
              && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO Tomebox VALUES (?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr)
                   == SQLITE_OK;
    static const int kTextColumns[9] = {1, 2, 3, 4, 7, 8, 9, 10, 11};
    for (const Record& r : records) {
        if (!ok) break;
        for (int t = 0; t < 9; ++t) {
            const std::string value = version == 0 ? Cp932(r.text[t]) : r.text[t];
            if (value.empty())
                sqlite3_bind_null(insert, kTextColumns[t]);
            else
                sqlite3_bind_text(insert, kTextColumns[t], value.c_str(), static_cast<int>(value.size()),
                                  SQLITE_TRANSIENT);
        }
        sqlite3_bind_int(insert, 5, r.year);
        sqlite3_bind_int(insert, 6, r.month);
        sqlite3_bind_int(insert, 12, r.id);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    const std::string pragma = "PRAGMA user_version = " + std::to_string(version);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK
         && sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return Check(ok, "writing a catalogue");
}

const WindowOperations kSilentWindow{[](const char* message) { std::fprintf(stderr, "shown: %s\n", message); },
                                     [] {}};

// The floor: open, prepare, step every row and keep its values as the
// catalogue keeps them (a string per text, a shared record per row),
// nothing checked.  The list is freed after the clock stops, as the load's
// is.
double BareLoad(const char* file)
{
    BookList books;
    Stopwatch watch;
    sqlite3* db = nullptr;
    sqlite3_open(file, &db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare(db, "SELECT * FROM Tomebox", -1, &select, nullptr);
    auto text = [select](int column) {
        const char* value = reinterpret_cast<const char*>(sqlite3_column_text(select, column));
        return value ? std::string(value, static_cast<std::size_t>(sqlite3_column_bytes(select, column)))
                     : std::string();
    };
    while (sqlite3_step(select) == SQLITE_ROW)
        books.push_back(MakeBook(BookFields{text(0), text(1), text(2), text(3), sqlite3_column_int(select, 4),
                                            sqlite3_column_int(select, 5), text(6), text(7), text(8), text(9),
                                            text(10), sqlite3_column_int(select, 11)}));
    sqlite3_finalize(select);
    sqlite3_close(db);
    const double seconds = watch.Seconds();
    if (books.empty()) std::fprintf(stderr, "bench_store: empty table\n");
    return seconds;
}

struct Figures {
    double floor, startup, upgrade, startupV0;
};

// Medians of several runs, the floor and the figures taken in turn, so that
// a busy moment of the machine falls on both alike.
Figures Measure(const std::vector<Record>& records)
{
    const int count = static_cast<int>(records.size());
    // Names relative to the bench directory, the current directory of both
    // SQLite and the Win32 file functions.
    const char version1[] = "version1.sqlite";
    const char version0[] = "version0.sqlite";
    const char live[] = "Tomebox.sqlite";
    if (!WriteCatalogue(version1, records, 1) || !WriteCatalogue(version0, records, 0)) return {};

    std::vector<double> floor, startup, upgrade, startupV0;
    Catalogue catalogue;
    const int repeats = 7;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        CopyFileA(version1, live, FALSE);
        // Floor and load take turns reading the fresh copy first.
        if (repeat % 2 == 0) floor.push_back(BareLoad(live));
        Stopwatch watch;
        const StartupOutcome outcome = StartCatalogueDatabase(catalogue, kSilentWindow);
        startup.push_back(watch.Seconds());
        Check(outcome == StartupOutcome::Ready && static_cast<int>(catalogue.books.size()) == count, "start-up");
        Check(catalogue.books.empty() || catalogue.books.back()->GetBookName() == records.back().text[0],
              "loaded text");
        CloseCatalogueDatabase(catalogue, kSilentWindow);
        catalogue.books.clear();
        if (repeat % 2 == 1) floor.push_back(BareLoad(live));

        CopyFileA(version0, live, FALSE);
        Check(catalogue.db.Open(live) == SQLITE_OK, "open");
        watch.Restart();
        const bool upgraded = UpgradeCatalogueVersion(catalogue).has_value();
        upgrade.push_back(watch.Seconds());
        Check(upgraded, "upgrade");
        catalogue.db.Close();
        // Each upgrade keeps its copy of the version-0 file under the first free name.
        DeleteFileA(kVersion0CopyName);

        CopyFileA(version0, live, FALSE);
        watch.Restart();
        const StartupOutcome outcomeV0 = StartCatalogueDatabase(catalogue, kSilentWindow);
        startupV0.push_back(watch.Seconds());
        Check(outcomeV0 == StartupOutcome::Ready && static_cast<int>(catalogue.books.size()) == count,
              "version-0 start-up");
        Check(catalogue.books.empty() || catalogue.books.back()->GetPlace() == records.back().text[6],
              "upgraded text");
        CloseCatalogueDatabase(catalogue, kSilentWindow);
        catalogue.books.clear();
        DeleteFileA(kVersion0CopyName);
    }
    return {Median(floor), Median(startup), Median(upgrade), Median(startupV0)};
}

}  // namespace

int main()
{
    ScratchDirectory dir;  // the current directory while measuring
    std::printf("bench_store: catalogue start-up, median of 7 runs (ms)\n");
    std::printf("%8s %8s %8s %10s %9s %11s\n", "records", "floor", "load", "load/floor", "upgrade", "v0 start-up");
    double ratio = 0, upgrade = 0;
    for (int count : {1000, 10000, 100000}) {
        const Figures f = Measure(MakeRecords(count));
        std::printf("%8d %8.1f %8.1f %10s %9.1f %11.1f\n", count, f.floor * 1000, f.startup * 1000,
                    Ratio(f.startup, f.floor), f.upgrade * 1000, f.startupV0 * 1000);
        std::fflush(stdout);
        ratio = f.floor > 0 ? f.startup / f.floor : 0;
        upgrade = f.upgrade;
    }
    std::printf("floor: open, prepare and step SELECT *, keeping every value as the catalogue keeps\n"
                "them (a string per text, a shared record per row), nothing checked.\n"
                "load: StartCatalogueDatabase on a version-1 file; upgrade: UpgradeCatalogueVersion of a\n"
                "version-0 file, its copy included; v0 start-up: upgrade and load.\n"
                "targets at 100,000 records: load within 1.2x its floor (%.2fx): %s; upgrade under 5 s: %s\n",
                ratio, ratio > 0 && ratio <= 1.2 ? "met" : "not met", upgrade < 5.0 ? "met" : "not met");
    std::fflush(stdout);
    return 0;
}
