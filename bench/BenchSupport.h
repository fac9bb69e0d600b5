// Helpers of the benchmark programs: a stopwatch and a scratch directory
// that is the current directory while a benchmark runs.
#pragma once
#include <string>
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

// A fresh directory in the temporary folder; the Win32 and the Unix current
// directory (SQLite resolves relative names against the latter under Wine)
// both point into it until it is removed.
class BenchDirectory {
public:
    BenchDirectory();
    ~BenchDirectory();
    BenchDirectory(const BenchDirectory&) = delete;
    BenchDirectory& operator=(const BenchDirectory&) = delete;

    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
    std::string previous_;
};
