// Whole files: read at once, and written so that a file that is replaced
// is replaced entirely or not at all.  Paths are UTF-16, as the file
// dialogs give them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

enum class FileRead { Read, CannotOpen, TooLarge, Failed };

struct FileBytes {
    FileRead outcome;
    std::string bytes;  // the whole file when Read, else empty
};

// Larger files are refused before anything is read: a catalogue of a
// million books is a little over 100 MB.
constexpr uint64_t kFileReadLimit = 256u << 20;

FileBytes ReadWholeFile(const std::u16string& path, uint64_t limit = kFileReadLimit);
// The sentence for an outcome other than Read.
const char* FileReadMessage(FileRead outcome);

// Writes the bytes to a new file beside the target, flushes it to disk and
// only then moves it over the target.  On any failure the new file is
// removed and the target is as it was, whether it existed or not.
bool WriteFileWhole(const std::u16string& path, std::string_view bytes);
