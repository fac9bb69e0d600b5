// Two copies of the real Tomebox.exe, started as child processes: on one
// catalogue file, whichever path reaches it, the second shows the first and
// ends; on two files both run.
#include <windows.h>
#include <string>
#include "store/CatalogueDatabase.h"
#include "support/GTestWin32.h"
#include "support/ScratchDirectory.h"

namespace {

// The shown top-level windows of a process, and its main window among them.
struct ShownWindows {
    DWORD process;
    int count;
    HWND main;
};

BOOL CALLBACK CountShown(HWND window, LPARAM lParam)
{
    auto* shown = reinterpret_cast<ShownWindows*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != shown->process || !IsWindowVisible(window)) return TRUE;
    ++shown->count;
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "TOMEBOX") shown->main = window;
    return TRUE;
}

// Tomebox.exe started in a directory, ended at the latest with the test.
class Copy {
public:
    explicit Copy(const std::string& directory)
    {
        std::string program = Win32Path(TOMEBOX_PROGRAM), commandLine = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   directory.c_str(), &startup, &process_));
    }
    ~Copy()
    {
        if (!process_.hProcess) return;
        // Waited for, so that the scratch directory is no longer its current one.
        if (Running() && TerminateProcess(process_.hProcess, 1)) WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    ShownWindows Shown() const
    {
        ShownWindows shown{process_.dwProcessId, 0, nullptr};
        EnumWindows(CountShown, reinterpret_cast<LPARAM>(&shown));
        return shown;
    }
    // The main window, once the program answers in its message loop.
    HWND MainWindow() const
    {
        for (int waited = 0; waited < 20000 && Running(); waited += 50, Sleep(50)) {
            DWORD_PTR answer = 0;
            const HWND main = Shown().main;
            if (main && SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) return main;
        }
        return nullptr;
    }
    bool Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    // -1 while it still runs after the wait.
    long ExitCode(DWORD waitMilliseconds) const
    {
        DWORD code = 0;
        if (!process_.hProcess || WaitForSingleObject(process_.hProcess, waitMilliseconds) != WAIT_OBJECT_0) return -1;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }
    long Close() const
    {
        PostMessageA(Shown().main, WM_CLOSE, 0, 0);
        return ExitCode(20000);
    }

private:
    PROCESS_INFORMATION process_ = {};
};

TEST(TwoCopies, OnOneFileTheSecondShowsTheFirstAndEnds)
{
    // How the second copy's directory reaches the first copy's file.
    enum class Reach { SamePath, ShortPathInOtherCase, HardLink, OtherFile };
    const struct {
        const char* name;
        Reach reach;
    } cases[] = {
        {"same path", Reach::SamePath},
        {"short path in other case", Reach::ShortPathInOtherCase},
        {"hard link in another directory", Reach::HardLink},
        {"another directory", Reach::OtherFile},
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

        std::string secondDirectory = dir.path();
        if (c.reach == Reach::ShortPathInOtherCase) {
            char shortPath[MAX_PATH] = {};
            ASSERT_TRUE(GetShortPathNameA(dir.path().c_str(), shortPath, MAX_PATH));
            ASSERT_NE(0, lstrcmpiA(shortPath, dir.path().c_str()));
            secondDirectory = shortPath;
            CharLowerBuffA(&secondDirectory[0], static_cast<DWORD>(secondDirectory.size()));
        } else if (c.reach != Reach::SamePath) {
            secondDirectory = other;
        }
        if (c.reach == Reach::HardLink)
            ASSERT_TRUE(CreateHardLinkA((other + kCatalogueFileName).c_str(), dir.File(kCatalogueFileName).c_str(),
                                        nullptr));
        Copy second(secondDirectory);
        if (c.reach != Reach::OtherFile) {
            EXPECT_EQ(0, second.ExitCode(15000));
            EXPECT_TRUE(first.Running());
            EXPECT_FALSE(IsIconic(firstWindow));
            EXPECT_EQ(firstWindow, GetForegroundWindow());
            EXPECT_EQ(1, first.Shown().count);  // no message box
        } else {
            EXPECT_TRUE(second.MainWindow());
            EXPECT_TRUE(first.Running());
            EXPECT_EQ(0, second.Close());
        }
        EXPECT_EQ(0, first.Close());
    }
}

// A catalogue file the claim cannot open does not stop the copy: it runs,
// and its start-up shows SQLite's failure.
TEST(TwoCopies, AFileThatCannotBeOpenedIsLeftToTheStartUp)
{
    ScratchDirectory dir;
    ASSERT_TRUE(CreateDirectoryA(dir.File(kCatalogueFileName).c_str(), nullptr));
    Copy copy(dir.path());
    for (int waited = 0; waited < 20000 && copy.Running() && copy.Shown().count == 0; waited += 50) Sleep(50);
    const ShownWindows shown = copy.Shown();
    EXPECT_EQ(1, shown.count);  // the message box of the open, shown before the main window
    EXPECT_FALSE(shown.main);
}

}  // namespace
