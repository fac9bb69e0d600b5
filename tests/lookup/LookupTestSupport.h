// A book form to look up into, the local servers of with_lookup_server.py
// that the lookups are sent to, and the message boxes the lookups show.
#pragma once
#include <windows.h>
#include <functional>
#include <set>
#include <string>
#include <vector>

enum class TestServer {
    Trusted,      // certificate of the test CA
    Untrusted,    // certificate of a CA nobody trusts
    Closed,       // nothing listens
    DefaultPort,  // trusted, on 443: the lookup then names no port
};

// Where the next lookups go: the test programs link their own VolumeApi()
// (LookupTestSupport.cpp) in place of the program's.  The Library is asked
// at its own server, always, through their own LibraryApi(), which waits
// for it this long.
void UseTestServer(TestServer server);
constexpr int kTestLibraryTimeoutSeconds = 3;
// Whether with_lookup_server.py runs that server for this program.
bool TestServerRuns(TestServer server);
int TestServerPort(TestServer server);
// Every request the servers received so far: "server\trequest line\tHost".
std::vector<std::string> RequestLog();
bool RequestLogHas(const std::string& line);

// A modeless book form (IDD_BOOK_FORM) whose ISBN button runs the lookup.
HWND CreateTestBookForm();
void SetBoxText(HWND form, int boxId, const std::u16string& text);
std::u16string BoxText(HWND form, int boxId);
void PressIsbnSearch(HWND form);
std::string Utf8(const std::u16string& text);

struct CaughtBox {
    HWND owner;
    DWORD thread;
    std::string caption;
    std::string text;
};

// Finds the visible message boxes of this process, records each once and
// answers it with OK; boxes of any thread, the lookup workers' included.
// While it lives, a thread timer also looks for them from inside the modal
// loop of a box shown on this very thread.  With workersOnly, the boxes of
// this thread are left alone (to a UiHarness, say) and no timer is set.
// One at a time.
class BoxCatcher {
public:
    explicit BoxCatcher(bool workersOnly = false);
    ~BoxCatcher();
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;

    void Poll();
    const std::vector<CaughtBox>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    std::vector<CaughtBox> boxes_;
    std::set<HWND> answered_;
    DWORD skippedThread_ = 0;
    UINT_PTR timer_ = 0;
};

// Handles this thread's messages and answers message boxes until done()
// holds or the time is up; false on time-out.
bool PumpUntil(BoxCatcher& catcher, const std::function<bool()>& done, DWORD milliseconds);
