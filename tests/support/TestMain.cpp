// Entry of every Win32 test program: GoogleTest, plus a watchdog that ends
// the process when one test runs too long (a modal loop left waiting, say),
// so that a hang becomes a failure that names the test instead of a stalled
// suite.  The limit counts per test: TOMEBOX_TEST_WATCHDOG seconds, 60 by
// default.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "support/GTestWin32.h"

namespace {

// Set at the start of every test; the watchdog waits on it.
HANDLE s_testStarted = nullptr;
DWORD s_limitSeconds = 60;

DWORD WINAPI Watchdog(LPVOID)
{
    while (WaitForSingleObject(s_testStarted, s_limitSeconds * 1000) == WAIT_OBJECT_0) {
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("\nwatchdog: %s.%s has not ended after %lu s; the program ends here\n",
                test ? test->test_suite_name() : "(between tests)", test ? test->name() : "",
                static_cast<unsigned long>(s_limitSeconds));
    std::fflush(stdout);
    ExitProcess(3);
    return 0;
}

class RestartWatchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { SetEvent(s_testStarted); }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (const char* limit = std::getenv("TOMEBOX_TEST_WATCHDOG")) s_limitSeconds = std::strtoul(limit, nullptr, 10);
    s_testStarted = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ::testing::UnitTest::GetInstance()->listeners().Append(new RestartWatchdog);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    return RUN_ALL_TESTS();
}
