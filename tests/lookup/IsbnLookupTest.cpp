// The ISBN lookup from the button to the boxes of a real book form, against
// the local HTTPS servers of with_lookup_server.py, with the program's own
// workers and continuations.
#include "support/GTestWin32.h"

#include <windows.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "lookup/LookupBoundary.h"
#include "lookup/LookupTestSupport.h"
#include "lookup/LookupWorkersEnvironment.h"
#include "resources/resource.h"
#include "support/CaseName.h"

namespace {

const char kAnswerFailed[] = "リクエスト結果の処理に失敗しました";
const char kErrorCaption[] = "エラー";

const std::u16string kOldTitle = u"old title";
const std::u16string kOldAuthor = u"old author";
const std::u16string kOldYear = u"1900";
const std::u16string kOldMonth = u"01";

class IsbnLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestServerRuns(TestServer::Trusted)) << "run through tests/lookup/with_lookup_server.py";
        UseTestServer(TestServer::Trusted);
        form_ = CreateTestBookForm();
        ASSERT_NE(form_, nullptr);
        SetBoxText(form_, IDC_BOOK_NAME, kOldTitle);
        SetBoxText(form_, IDC_AUTHOR, kOldAuthor);
        SetBoxText(form_, IDC_YEAR, kOldYear);
        SetBoxText(form_, IDC_MONTH, kOldMonth);
    }

    void TearDown() override
    {
        if (IsWindow(form_)) DestroyWindow(form_);
    }

    // Types the ISBN, presses the button and waits until that many lookups
    // have run their course, answering every message box on the way.
    void LookUp(const std::u16string& isbn, unsigned long lookups = 1)
    {
        const unsigned long before = FinishedVolumeLookups();
        SetBoxText(form_, IDC_ISBN, isbn);
        PressIsbnSearch(form_);
        ASSERT_TRUE(PumpUntil(boxes_, [&] { return FinishedVolumeLookups() >= before + lookups; }, 8000))
            << "lookup of " << Utf8(isbn) << " did not end";
    }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const CaughtBox& box : boxes_.Boxes()) {
            EXPECT_EQ(box.caption, kErrorCaption);
            EXPECT_EQ(box.owner, form_);
            texts.push_back(box.text);
        }
        return texts;
    }

    void ExpectBoxes(const std::u16string& title, const std::u16string& author, const std::u16string& year,
                     const std::u16string& month)
    {
        EXPECT_EQ(Utf8(BoxText(form_, IDC_BOOK_NAME)), Utf8(title));
        EXPECT_EQ(Utf8(BoxText(form_, IDC_AUTHOR)), Utf8(author));
        EXPECT_EQ(Utf8(BoxText(form_, IDC_YEAR)), Utf8(year));
        EXPECT_EQ(Utf8(BoxText(form_, IDC_MONTH)), Utf8(month));
    }

    // As the trusted server, or the Library's, logs it.
    static std::string RequestLine(const std::string& target)
    {
        return "trusted\tGET " + target + " HTTP/1.1\t127.0.0.1:" + std::to_string(TestServerPort(TestServer::Trusted));
    }
    static std::string LibraryRequestLine(const std::string& isbn)
    {
        return "library\tGET /api/opensearch?isbn=" + isbn + "&dpid=iss-ndl-opac&cnt=10 HTTP/1.1\t127.0.0.1:" +
               std::getenv("TOMEBOX_LIBRARY_PORT");
    }
    static size_t LibraryRequests()
    {
        size_t count = 0;
        for (const std::string& line : RequestLog()) count += line.rfind("library\t", 0) == 0;
        return count;
    }

    HWND form_ = nullptr;
    BoxCatcher boxes_;
};

// The answers as they reach a real form, one of each way a lookup ends;
// every shape of answer is mapped in VolumeAnswerTest.
struct AnswerCase {
    const char* name;
    std::u16string isbn;
    std::u16string title, author, year, month;  // what the boxes hold afterwards
    bool failed;                                // one message, "リクエスト結果の処理に失敗しました"
};

const std::u16string kKept = u"\x1";  // the box keeps its old text

const AnswerCase kAnswerCases[] = {
    {"complete answer first volume first author", u"9784003101018", u"Full Title", u"Author One", u"2014", u"05", false},
    {"status 404", u"404", kKept, kKept, kKept, kKept, true},
    {"status 500", u"500", kKept, kKept, kKept, kKept, true},
    {"status 201 with a complete answer", u"201", kKept, kKept, kKept, kKept, true},
    {"body not JSON", u"notjson", kKept, kKept, kKept, kKept, true},
    {"content type not JSON", u"html", kKept, kKept, kKept, kKept, true},
    {"no items", u"noitems", kKept, kKept, kKept, kKept, true},
    {"no authors", u"noauthors", u"Only Title", kKept, kKept, kKept, true},
    {"no publishedDate", u"nodate", u"No Date", u"Dateless", kKept, kKept, true},
    {"date of 4 units, the year alone", u"date:2014", u"Dated", u"Writer", u"2014", kKept, false},
    {"date of 5 units", u"date:2014-", u"Dated", u"Writer", u"2014", u"", false},
    {"date of 10 units", u"date:2014-05-20", u"Dated", u"Writer", u"2014", u"05", false},
    {"Japanese and non-BMP texts cut by UTF-16 unit", u"japanese", u"吾輩は猫である𠮷", u"夏目漱石", u"𠮷〇一",
     u"五月", false},
};

class IsbnLookupAnswer : public IsbnLookup, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(IsbnLookupAnswer, ReachesTheBoxesOrEndsInOneMessage)
{
    const AnswerCase& c = GetParam();
    LookUp(c.isbn);
    ExpectBoxes(c.title == kKept ? kOldTitle : c.title, c.author == kKept ? kOldAuthor : c.author,
                c.year == kKept ? kOldYear : c.year, c.month == kKept ? kOldMonth : c.month);
    EXPECT_EQ(Messages(), c.failed ? std::vector<std::string>{kAnswerFailed} : std::vector<std::string>{});
    // Shown by the worker that ran the continuation.
    for (const CaughtBox& box : boxes_.Boxes()) EXPECT_NE(box.thread, GetCurrentThreadId());
}

// An answer that never ends fails as any unreadable answer does, and the
// client stops taking it.
TEST_F(IsbnLookup, EndlessAnswerFailsAndIsNoLongerTaken)
{
    LookUp(u"endless");
    ExpectBoxes(kOldTitle, kOldAuthor, kOldYear, kOldMonth);
    EXPECT_EQ(Messages(), std::vector<std::string>{kAnswerFailed});
    EXPECT_TRUE(PumpUntil(boxes_, [] { return RequestLogHas("trusted\tendless body refused\tendless"); }, 5000));
}

INSTANTIATE_TEST_SUITE_P(Answers, IsbnLookupAnswer, ::testing::ValuesIn(kAnswerCases),
                         CaseName<::testing::TestParamInfo<AnswerCase>>);

// As typed to the book-volume service; to the Library its digits, and only
// when they are an ISBN.
TEST_F(IsbnLookup, SendsTheIsbnAsTyped)
{
    LookUp(u"978-4-00-310101-8");
    EXPECT_TRUE(RequestLogHas(RequestLine("/books/v1/volumes?q=isbn:978-4-00-310101-8")));
    EXPECT_TRUE(RequestLogHas(LibraryRequestLine("9784003101018")));
    LookUp(u"978 4 00 310101 8");
    EXPECT_TRUE(RequestLogHas(RequestLine("/books/v1/volumes?q=isbn:978%204%2000%20310101%208")));
    const size_t libraryRequests = LibraryRequests();
    LookUp(u"4-00&x=1");
    EXPECT_TRUE(RequestLogHas(RequestLine("/books/v1/volumes?q=isbn:4-00%26x%3D1")));
    EXPECT_EQ(LibraryRequests(), libraryRequests);
    EXPECT_TRUE(Messages().empty());
}

// The Library's failures show nothing of their own: the book-volume
// service's answer stands, or its failure is shown, once, after the
// Library's time-out at the latest; an answer that comes, endless or not,
// ends the wait at once, and an endless one is no longer taken.
struct LibraryFailureCase {
    const char* name;
    std::u16string isbn;
    bool volumeFound;  // else the book-volume service answers 404
    bool answered;     // else the Library sends nothing
    bool endless = false;
};

const LibraryFailureCase kLibraryFailures[] = {
    {"status 500", u"9784000000101", true, true},
    {"endless body", u"9784000000125", true, true, true},
    {"no answer", u"9784000000132", true, false},
    {"no answer and 404", u"9784000000149", false, false},
    {"endless body and 404", u"9784000000156", false, true, true},
};

class IsbnLookupLibraryFailure : public IsbnLookup, public ::testing::WithParamInterface<LibraryFailureCase> {};

TEST_P(IsbnLookupLibraryFailure, ShowsNothingOfItsOwn)
{
    const LibraryFailureCase& c = GetParam();
    const DWORD start = GetTickCount();
    LookUp(c.isbn);
    const DWORD limit = c.answered ? kTestLibraryTimeoutSeconds * 500 : (kTestLibraryTimeoutSeconds + 2) * 1000;
    EXPECT_LT(GetTickCount() - start, limit);
    EXPECT_TRUE(RequestLogHas(LibraryRequestLine(Utf8(c.isbn))));
    if (c.volumeFound) {
        ExpectBoxes(u"Full Title", u"Author One", u"2014", u"05");
        EXPECT_EQ(Messages(), std::vector<std::string>{});
    } else {
        ExpectBoxes(kOldTitle, kOldAuthor, kOldYear, kOldMonth);
        EXPECT_EQ(Messages(), std::vector<std::string>{kAnswerFailed});
    }
    EXPECT_EQ(Utf8(BoxText(form_, IDC_BOOK_NAME_KANA)), "");
    if (c.endless) {
        const std::string refused = "library\tendless body refused\t" + Utf8(c.isbn);
        EXPECT_TRUE(PumpUntil(boxes_, [&] { return RequestLogHas(refused); }, 5000));
    }
}

INSTANTIATE_TEST_SUITE_P(Library, IsbnLookupLibraryFailure, ::testing::ValuesIn(kLibraryFailures),
                         CaseName<::testing::TestParamInfo<LibraryFailureCase>>);

TEST_F(IsbnLookup, ReadsAtMost255Units)
{
    LookUp(std::u16string(300, u'7'));
    EXPECT_TRUE(RequestLogHas(RequestLine("/books/v1/volumes?q=isbn:" + std::string(255, '7'))));
}

TEST_F(IsbnLookup, EmptyBoxSendsNothing)
{
    const unsigned long before = FinishedVolumeLookups();
    const size_t requests = RequestLog().size();
    SetBoxText(form_, IDC_ISBN, u"");
    PressIsbnSearch(form_);
    PumpUntil(boxes_, [] { return false; }, 300);
    EXPECT_EQ(FinishedVolumeLookups(), before);
    EXPECT_EQ(RequestLog().size(), requests);
    EXPECT_TRUE(Messages().empty());
    ExpectBoxes(kOldTitle, kOldAuthor, kOldYear, kOldMonth);
}

TEST_F(IsbnLookup, UntrustedCertificateFailsWithoutARequest)
{
    ASSERT_TRUE(TestServerRuns(TestServer::Untrusted));
    UseTestServer(TestServer::Untrusted);
    LookUp(u"9784003101018");
    EXPECT_EQ(Messages(), std::vector<std::string>{kAnswerFailed});
    ExpectBoxes(kOldTitle, kOldAuthor, kOldYear, kOldMonth);
    // The client did reach that server, and refused it: in the handshake
    // (OpenSSL), or right after it, closing without a request (WinHTTP).
    EXPECT_TRUE(PumpUntil(boxes_, [] {
        for (const std::string& line : RequestLog())
            if (line.rfind("untrusted\thandshake failed", 0) == 0 ||
                line.rfind("untrusted\tclosed without a request", 0) == 0)
                return true;
        return false;
    }, 3000));
    for (const std::string& line : RequestLog()) EXPECT_NE(line.rfind("untrusted\tGET", 0), 0u) << line;
}

TEST_F(IsbnLookup, ServerNotListeningFails)
{
    UseTestServer(TestServer::Closed);
    LookUp(u"9784003101018");
    EXPECT_EQ(Messages(), std::vector<std::string>{kAnswerFailed});
    ExpectBoxes(kOldTitle, kOldAuthor, kOldYear, kOldMonth);
}

TEST_F(IsbnLookup, IsbnThatIsNotUtf16FailsAtOnce)
{
    const size_t requests = RequestLog().size();
    LookUp(std::u16string(1, char16_t(0xD800)) + u"978");
    EXPECT_EQ(Messages(), std::vector<std::string>{kAnswerFailed});
    EXPECT_EQ(boxes_.Boxes().at(0).thread, GetCurrentThreadId());
    EXPECT_EQ(RequestLog().size(), requests);
}

TEST_F(IsbnLookup, TwoPressesBothWriteAsTheyArrive)
{
    const unsigned long before = FinishedVolumeLookups();
    SetBoxText(form_, IDC_ISBN, u"slow:400:date:1999-01");
    PressIsbnSearch(form_);
    SetBoxText(form_, IDC_ISBN, u"date:2000-02");
    PressIsbnSearch(form_);
    ASSERT_TRUE(PumpUntil(boxes_, [&] { return FinishedVolumeLookups() >= before + 1; }, 8000));
    EXPECT_EQ(Utf8(BoxText(form_, IDC_YEAR)), "2000");
    ASSERT_TRUE(PumpUntil(boxes_, [&] { return FinishedVolumeLookups() >= before + 2; }, 8000));
    ExpectBoxes(u"Dated", u"Writer", u"1999", u"01");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(IsbnLookup, TwoFailingPressesShowTwoMessages)
{
    const unsigned long before = FinishedVolumeLookups();
    SetBoxText(form_, IDC_ISBN, u"404");
    PressIsbnSearch(form_);
    PressIsbnSearch(form_);
    ASSERT_TRUE(PumpUntil(boxes_, [&] { return FinishedVolumeLookups() >= before + 2; }, 8000));
    EXPECT_EQ(Messages(), (std::vector<std::string>{kAnswerFailed, kAnswerFailed}));
}

TEST_F(IsbnLookup, AnswersAfterTheFormClosedChangeNothing)
{
    const unsigned long before = FinishedVolumeLookups();
    SetBoxText(form_, IDC_ISBN, u"slow:300:9784003101018");
    PressIsbnSearch(form_);
    SetBoxText(form_, IDC_ISBN, u"slow:300:404");
    PressIsbnSearch(form_);
    DestroyWindow(form_);
    ASSERT_TRUE(PumpUntil(boxes_, [&] { return FinishedVolumeLookups() >= before + 2; }, 8000));
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Boxes().at(0).text;
}

// Apart from the others: it holds port 443 of 127.0.0.1, so it runs alone
// under with_lookup_server.py --default-port.
TEST_F(IsbnLookup, DefaultPortWhenTheUriNamesNone)
{
    if (!TestServerRuns(TestServer::DefaultPort)) GTEST_SKIP() << "needs with_lookup_server.py --default-port";
    UseTestServer(TestServer::DefaultPort);
    LookUp(u"978-4-00-310101-8");
    EXPECT_EQ(std::vector<std::string>{}, Messages());  // a failure shows which message
    ExpectBoxes(u"Full Title", u"Author One", u"2014", u"05");
    EXPECT_TRUE(RequestLogHas("default\tGET /books/v1/volumes?q=isbn:978-4-00-310101-8 HTTP/1.1\t127.0.0.1"));
}

}  // namespace
