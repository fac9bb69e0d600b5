#include "StoreTestSupport.h"

#include <windows.h>
#include "store/FileBytes.h"
#include "store/TextEncoding.h"

namespace {

class WholeFiles : public StoreTest {
protected:
    std::u16string Path(const char* name) const { return Utf8ToUtf16(scratch_.File(name)); }
    // The write's temporary file, which no write leaves behind.
    bool LeftBehind(const char* name) const
    {
        return GetFileAttributesW(WideText(Path(name) + u".tmp")) != INVALID_FILE_ATTRIBUTES;
    }
};

TEST_F(WholeFiles, WrittenWholeAndReadBack)
{
    const std::u16string path = Path(u8"書籍 一覧.csv");
    ASSERT_TRUE(WriteFileWhole(path, std::string(3 << 20, 'x')));
    ASSERT_TRUE(WriteFileWhole(path, "short"));
    const FileBytes read = ReadWholeFile(path);
    EXPECT_EQ(FileRead::Read, read.outcome);
    EXPECT_EQ("short", read.bytes);
    EXPECT_FALSE(LeftBehind(u8"書籍 一覧.csv"));
    EXPECT_EQ(FileRead::TooLarge, ReadWholeFile(path, 4).outcome);
    EXPECT_EQ(FileRead::CannotOpen, ReadWholeFile(Path("missing.csv")).outcome);
}

TEST_F(WholeFiles, AFailedWriteLeavesTheTargetAsItWas)
{
    const std::u16string path = Path("Tomebox.csv");
    ASSERT_TRUE(WriteFileWhole(path, "before"));
    // Open elsewhere, for reading and writing by others but not for its
    // removal: it could be written over, but not replaced.
    HANDLE held = CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(WriteFileWhole(path, "after"));
    CloseHandle(held);
    EXPECT_EQ("before", ReadWholeFile(path).bytes);
    EXPECT_FALSE(LeftBehind("Tomebox.csv"));
    EXPECT_FALSE(WriteFileWhole(Path("no such folder\\Tomebox.csv"), "after"));
}

}  // namespace
