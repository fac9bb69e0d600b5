// How far a long step has come (formatting, reading or adding many books),
// for a progress bar.  Optional: an empty report costs nothing.
#pragma once
#include <cstddef>
#include <functional>

// Called with the work done and the whole, in the step's own units (books,
// bytes), now and then and once more when the step is through.
using ProgressReport = std::function<void(std::size_t done, std::size_t total)>;

// Items between two reports: a bar still moves smoothly, and the calls
// cost nothing beside the work.
constexpr std::size_t kProgressInterval = 4096;

inline void ReportProgress(const ProgressReport& report, std::size_t done, std::size_t total)
{
    if (report) report(done, total);
}
