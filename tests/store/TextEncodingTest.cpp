#include <windows.h>
#include "support/GTestWin32.h"

TEST(Smoke, CodePage)
{
    EXPECT_EQ(932u, GetACP());
    WCHAR wide[8];
    int n = MultiByteToWideChar(CP_THREAD_ACP, 0, "書名", -1, wide, 8);
    EXPECT_EQ(3, n);
    EXPECT_EQ(0x66F8, wide[0]);
}
