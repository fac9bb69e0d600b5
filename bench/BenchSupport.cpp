#include "BenchSupport.h"

#include <windows.h>
#include <algorithm>

namespace {

long long Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

void Stopwatch::Restart()
{
    start_ = Counter();
}

double Stopwatch::Seconds() const
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Counter() - start_) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> seconds)
{
    if (seconds.empty()) return 0;
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}
