// The real program, started in the current directory the way WinMain
// starts it, for tests that drive it.  Use inside a ScratchDirectory.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "store/BookData.h"

class RunningTomebox {
public:
    RunningTomebox();   // clears the shared state, then starts the program
    ~RunningTomebox();  // destroys what is left and drains the queue
    RunningTomebox(const RunningTomebox&) = delete;
    RunningTomebox& operator=(const RunningTomebox&) = delete;

    HWND mainWindow() const { return main_; }
    HWND commandBar() const;
    HWND catalogueView() const;

    // Runs the message loop until the quit request, as WinMain does, and
    // returns the exit code (for a start-up that failed, or after Exit).
    int RunLoop();
    // The menu's exit command, then the loop.
    int Exit();

private:
    HWND main_ = nullptr;
    bool loopEnded_ = false;
};

// Writes a catalogue file by raw SQL (statements joined by ';'), before
// the program starts; a statement that fails fails the test.
void WriteDatabase(const std::string& fileName, const std::string& sql);
// Runs a query on a file and returns the rows as text, cells joined by '|'
// (NULL as "NULL").
std::vector<std::string> QueryDatabase(const std::string& fileName, const std::string& sql);
