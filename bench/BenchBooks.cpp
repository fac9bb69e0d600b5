#include "BenchBooks.h"

#include <cstdint>

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

}  // namespace

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

BookList MakeBooks(const std::vector<Record>& records)
{
    BookList books;
    books.reserve(records.size());
    for (const Record& r : records)
        books.push_back(MakeBook(BookFields{r.text[0], r.text[1], r.text[2], r.text[3], r.year, r.month, r.text[4],
                                            r.text[5], r.text[6], r.text[7], r.text[8], r.id}));
    return books;
}
