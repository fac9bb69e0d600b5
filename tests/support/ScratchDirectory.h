// A fresh empty directory that becomes the current directory for one test
// (the program opens Tomebox.sqlite there) and is removed afterwards.
#pragma once
#include <string>

class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Windows path of the directory, with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
    std::string previous_;
};

// A path of the build tree as Win32 takes it: under Winelib, where the
// build writes Unix paths, its DOS form.
std::string Win32Path(const char* path);

// The whole content of a file, or an empty string when it does not exist.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
