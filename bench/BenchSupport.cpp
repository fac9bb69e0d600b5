#include "BenchSupport.h"

#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#ifdef __WINE__
#include <unistd.h>
#endif

namespace {

void SetUnixCurrentDirectory(const std::string& windowsPath)
{
#ifdef __WINE__
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return;
    char* unixPath = wine_get_unix_file_name(wide);
    if (!unixPath) return;
    if (chdir(unixPath) != 0) std::fprintf(stderr, "bench: cannot enter %s\n", unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
#else
    (void)windowsPath;
#endif
}

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(dir + name + "\\");
            else
                DeleteFileA((dir + name).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

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

BenchDirectory::BenchDirectory()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    previous_ = buffer;
    GetTempPathA(MAX_PATH, buffer);
    for (unsigned counter = 1;; ++counter) {
        char name[64];
        std::snprintf(name, sizeof name, "tomebox-bench-%lu-%u\\", GetCurrentProcessId(), counter);
        const std::string candidate = std::string(buffer) + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a bench directory");
    }
    SetCurrentDirectoryA(path_.c_str());
    SetUnixCurrentDirectory(path_);
}

BenchDirectory::~BenchDirectory()
{
    SetCurrentDirectoryA(previous_.c_str());
    SetUnixCurrentDirectory(previous_);
    RemoveTree(path_);
}
