// Entry of every Win32 test program: GoogleTest, plus a watchdog that ends
// the process when a modal loop gets stuck, so that a hang becomes a failure
// with a message instead of a stalled suite.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "support/GTestWin32.h"

namespace {

DWORD WINAPI Watchdog(LPVOID secondsParam)
{
    DWORD seconds = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(secondsParam));
    Sleep(seconds * 1000);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "watchdog: no end after %lu s, in %s.%s\n", seconds,
                 test ? test->test_suite_name() : "?", test ? test->name() : "?");
    std::fflush(stderr);
    ExitProcess(3);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const char* limit = std::getenv("TOMEBOX_TEST_WATCHDOG");
    DWORD seconds = limit ? std::strtoul(limit, nullptr, 10) : 300;
    CloseHandle(CreateThread(nullptr, 0, Watchdog, reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(seconds)), 0, nullptr));
    return RUN_ALL_TESTS();
}
