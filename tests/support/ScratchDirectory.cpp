#include "support/ScratchDirectory.h"

#include <windows.h>
#include <cstdio>
#include <stdexcept>
#ifdef __WINE__
#include <unistd.h>
#endif

namespace {

// Under Wine the Win32 current directory and the Unix one are kept apart:
// SQLite (a Unix library here) resolves a relative file name against the
// Unix one, so both follow the scratch directory.
void SetUnixCurrentDirectory(const std::string& windowsPath)
{
#ifdef __WINE__
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return;
    char* unixPath = wine_get_unix_file_name(wide);
    if (!unixPath) return;
    if (chdir(unixPath) != 0) std::fprintf(stderr, "scratch: cannot enter %s\n", unixPath);
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
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + "\\");
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

ScratchDirectory::ScratchDirectory()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    previous_ = buffer;
    GetTempPathA(MAX_PATH, buffer);
    static unsigned counter = 0;
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "tomebox-test-%lu-%u\\", GetCurrentProcessId(), ++counter);
        std::string candidate = std::string(buffer) + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a scratch directory");
    }
    SetCurrentDirectoryA(path_.c_str());
    SetUnixCurrentDirectory(path_);
}

ScratchDirectory::~ScratchDirectory()
{
    SetCurrentDirectoryA(previous_.c_str());
    SetUnixCurrentDirectory(previous_);
    RemoveTree(path_);
}

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Win32Path(const char* path)
{
#ifdef __WINE__
    WCHAR* dos = wine_get_dos_file_name(path);
    if (!dos) return {};
    char converted[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, dos, -1, converted, sizeof converted, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
    return converted;
#else
    return path;
#endif
}
