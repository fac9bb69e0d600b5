// Two copies of the real Tomebox.exe, started as child processes: on one
// catalogue file the second shows the first and ends; on two files both
// run.
#include <windows.h>
#include <string>
#include "store/CatalogueDatabase.h"
#include "support/GTestWin32.h"
#include "support/ScratchDirectory.h"

namespace {

std::string ProgramPath()
{
#ifdef __WINE__
    WCHAR* dos = wine_get_dos_file_name(TOMEBOX_PROGRAM);
    if (!dos) return {};
    char path[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, dos, -1, path, sizeof path, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
    return path;
#else
    return TOMEBOX_PROGRAM;
#endif
}

struct WindowSearch {
    DWORD process;
    HWND found;
    int visible;  // top-level windows of the process that are shown
};

BOOL CALLBACK CountWindows(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) return TRUE;
    ++search->visible;
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "TOMEBOX") search->found = window;
    return TRUE;
}

// Tomebox.exe running in a directory; ended at the latest when the test
// ends.
class Copy {
public:
    explicit Copy(const std::string& directory)
    {
        const std::string program = ProgramPath();
        std::string commandLine = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  directory.c_str(), &startup, &process_);
        EXPECT_TRUE(started_) << program << " in " << directory;
    }
    ~Copy()
    {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    WindowSearch Windows() const
    {
        WindowSearch search{process_.dwProcessId, nullptr, 0};
        EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&search));
        return search;
    }
    // The shown main window, once the program has reached its message loop.
    HWND MainWindow() const
    {
        for (int waited = 0; started_ && waited < 20000 && Running(); waited += 50) {
            const HWND main = Windows().found;
            DWORD_PTR answer = 0;
            if (main && SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) return main;
            Sleep(50);
        }
        return nullptr;
    }
    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    // The exit code, or -1 while it still runs after the wait.
    long ExitCode(DWORD waitMilliseconds) const
    {
        if (!started_ || WaitForSingleObject(process_.hProcess, waitMilliseconds) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }
    long Close() const
    {
        if (HWND main = Windows().found) PostMessageA(main, WM_CLOSE, 0, 0);
        return ExitCode(20000);
    }

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

std::string InUpperCase(std::string path)
{
    CharUpperBuffA(&path[0], static_cast<DWORD>(path.size()));
    return path;
}

TEST(TwoCopies, OnOneFileTheSecondShowsTheFirstAndEnds)
{
    const struct {
        const char* name;
        bool sameFile;
        bool otherCase;
    } cases[] = {
        {"same path", true, false},
        {"same path in other case", true, true},
        {"another directory", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory dir;
        const std::string other = dir.File("other\\");
        ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
        Copy first(dir.path());
        const HWND firstWindow = first.MainWindow();
        ASSERT_TRUE(firstWindow);
        ShowWindow(firstWindow, SW_MINIMIZE);

        Copy second(c.sameFile ? (c.otherCase ? InUpperCase(dir.path()) : dir.path()) : other);
        if (c.sameFile) {
            EXPECT_EQ(0, second.ExitCode(15000));
            EXPECT_TRUE(first.Running());
            EXPECT_FALSE(IsIconic(firstWindow));
            EXPECT_EQ(firstWindow, GetForegroundWindow());
            EXPECT_EQ(1, first.Windows().visible);  // no message box
            EXPECT_FALSE(FileExists(other + kCatalogueFileName));
        } else {
            EXPECT_TRUE(second.MainWindow());
            EXPECT_TRUE(first.Running());
            EXPECT_TRUE(FileExists(other + kCatalogueFileName));
            EXPECT_EQ(0, second.Close());
        }
        EXPECT_EQ(0, first.Close());
    }
}

}  // namespace
