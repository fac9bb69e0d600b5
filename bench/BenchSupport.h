// Helpers of the benchmark programs.  Their catalogues go into a
// ScratchDirectory (tests/support), the current directory while they run.
#pragma once
#include <vector>

// Seconds since construction or the last Restart, from the performance counter.
class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart();
    double Seconds() const;

private:
    long long start_;
};

// The median of a few timings, in seconds.
double Median(std::vector<double> seconds);
