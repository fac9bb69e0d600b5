#include "store/FileBytes.h"

#include <windows.h>
#include <algorithm>
#include <memory>
#include "store/TextEncoding.h"

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle Open(const std::u16string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    HANDLE file = CreateFileW(WideText(path), access, share, nullptr, disposition, flags, nullptr);
    return FileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// The new file beside the target until it has taken the target's place;
// removed when anything before that fails.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::u16string& target)
    {
        // The first free name of target.tmp, target.tmp2, ...: a name that
        // exists may be another export's, under way.
        for (int number = 1; number < 100; ++number) {
            std::u16string name = target + u".tmp";
            if (number > 1) name += Utf8ToUtf16(DecimalText(number));
            file_ = Open(name, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
            if (file_) {
                path_ = std::move(name);
                return;
            }
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return;
        }
    }
    ~TemporaryFile()
    {
        file_.reset();
        if (!path_.empty()) DeleteFileW(WideText(path_));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Every byte written and on the disk, and the file closed.
    bool Write(std::string_view bytes)
    {
        if (!file_) return false;
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
            bytes.remove_prefix(written);
        }
        const bool flushed = FlushFileBuffers(file_.get()) != 0;
        file_.reset();
        return flushed;
    }

    bool MoveOver(const std::u16string& target)
    {
        if (!MoveFileExW(WideText(path_), WideText(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

private:
    FileHandle file_;
    std::u16string path_;
};

}  // namespace

FileBytes ReadWholeFile(const std::u16string& path, uint64_t limit)
{
    FileBytes read{FileRead::CannotOpen, std::string()};
    // Other programs may hold the file open for writing (Excel does).
    const FileHandle file = Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (!file) return read;
    LARGE_INTEGER size;
    read.outcome = FileRead::Failed;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return read;
    if (static_cast<uint64_t>(size.QuadPart) > limit) {
        read.outcome = FileRead::TooLarge;
        return read;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!ReadFile(file.get(), &bytes[done], chunk, &got, nullptr)) return read;
        if (got == 0) break;  // shorter now than when measured
        done += got;
    }
    bytes.resize(done);
    read.outcome = FileRead::Read;
    read.bytes = std::move(bytes);
    return read;
}

const char* FileReadMessage(FileRead outcome)
{
    switch (outcome) {
    case FileRead::CannotOpen: return "ファイルを開けませんでした";
    case FileRead::TooLarge: return "ファイルが大きすぎます（256MBまで読み込めます）";
    case FileRead::Failed: return "ファイルの読み込みに失敗しました";
    case FileRead::Read: break;
    }
    return "";
}

bool WriteFileWhole(const std::u16string& path, std::string_view bytes)
{
    TemporaryFile temporary(path);
    return temporary.Write(bytes) && temporary.MoveOver(path);
}
