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

// The whole content of a file, or an empty string when it does not exist.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
