#include "history/WinHistoryFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/AppError.h"
#include "history/HistoryPath.h"
#include "history/WinClipboard.h"
#include "history/WinFiles.h"

namespace ambervale {
namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string AppendError(const std::string& path, const std::string& bytes) {
    WinHistoryWriter writer;
    try {
        writer.Append(path, bytes);
    } catch (const AppError& e) {
        return e.what();
    }
    return "no error";
}

// A folder of its own under the real temporary directory, removed with what it holds.
class WinHistoryFile : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        folder_ = std::string(temp) + "ambervale-history-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        path_ = folder_ + "\\Ambervale.txt";
    }
    void TearDown() override {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_;
    std::string path_;
    WinHistoryWriter writer_;
};

TEST_F(WinHistoryFile, CreatesTheFileThenAppends) {
    writer_.Append(path_, "first\r\n");
    writer_.Append(path_, "second\r\n");
    EXPECT_EQ(ReadWhole(path_), "first\r\nsecond\r\n");
}

TEST_F(WinHistoryFile, AppendsToAFileLeftByAnEarlierRun) {
    WriteWhole(path_, "12/5/2026 9:00:00 AM ; \r\n");
    writer_.Append(path_, "12/6/2026 ; \r\n");
    EXPECT_EQ(ReadWhole(path_), "12/5/2026 9:00:00 AM ; \r\n12/6/2026 ; \r\n");
}

TEST_F(WinHistoryFile, AppendsWhileAnotherProgramHasTheFileOpen) {
    WriteWhole(path_, "old\r\n");
    HANDLE reader = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(AppendError(path_, "new\r\n"), "no error");
    CloseHandle(reader);
    EXPECT_EQ(ReadWhole(path_), "old\r\nnew\r\n");
}

TEST_F(WinHistoryFile, LeavesNoHandleOpen) {
    writer_.Append(path_, "line\r\n");
    HANDLE exclusive = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
}

TEST_F(WinHistoryFile, MissingFolderIsPathNotFoundAndCreatesNothing) {
    const std::string missing = folder_ + "\\missing\\Ambervale.txt";
    EXPECT_EQ(AppendError(missing, "line\r\n"), "Path not found");
    EXPECT_EQ(GetFileAttributesA((folder_ + "\\missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WinHistoryFile, ReadOnlyFileIsPermissionDeniedAndKeepsItsText) {
    WriteWhole(path_, "kept\r\n");
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine maps the attribute to Unix permissions, which do not bind the superuser.
    HANDLE probe = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this system lets the current user write read-only files";
    }
    EXPECT_EQ(AppendError(path_, "lost\r\n"), "Permission denied");
    EXPECT_EQ(ReadWhole(path_), "kept\r\n");
}

TEST_F(WinHistoryFile, FileLockedByAnotherProgramIsPermissionDeniedAndTheNextAppendWorks) {
    WriteWhole(path_, "kept\r\n");
    HANDLE locked = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(AppendError(path_, "lost\r\n"), "Permission denied");
    CloseHandle(locked);
    EXPECT_EQ(AppendError(path_, "next\r\n"), "no error");
    EXPECT_EQ(ReadWhole(path_), "kept\r\nnext\r\n");
}

TEST_F(WinHistoryFile, AFolderInThePlaceOfTheFileIsRefused) {
    ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
    EXPECT_EQ(AppendError(path_, "line\r\n"), "Permission denied");
    RemoveDirectoryA(path_.c_str());
}

TEST(ReadTempVariable, ReadsTempAndTellsWhenItIsUnset) {
    char saved[32768] = {};
    const DWORD length = GetEnvironmentVariableA("TEMP", saved, sizeof saved);

    ASSERT_TRUE(SetEnvironmentVariableA("TEMP", "C:\\Temp\\"));
    EXPECT_EQ(ReadTempVariable(), std::optional<std::string>("C:\\Temp\\"));
    const std::string longValue = "C:\\" + std::string(400, 'd');
    ASSERT_TRUE(SetEnvironmentVariableA("TEMP", longValue.c_str()));
    EXPECT_EQ(ReadTempVariable(), std::optional<std::string>(longValue));
    ASSERT_TRUE(SetEnvironmentVariableA("TEMP", nullptr));
    EXPECT_EQ(ReadTempVariable(), std::nullopt);

    SetEnvironmentVariableA("TEMP", length > 0 ? saved : nullptr);
}

// A user's TEMP of letters that the ANSI code page (1252 here) has not: the path is read, and the file appended to,
// copied and deleted, by the wide calls.
TEST(WideHistoryPath, ATempFolderOfGreekLettersHoldsTheHistoryFile) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"ambervale-\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t saved[32768] = {};
    const DWORD savedLength = GetEnvironmentVariableW(L"TEMP", saved, 32768);
    ASSERT_TRUE(SetEnvironmentVariableW(L"TEMP", folder.c_str()));
    const std::optional<std::string> read = ReadTempVariable();
    SetEnvironmentVariableW(L"TEMP", savedLength > 0 ? saved : nullptr);
    ASSERT_TRUE(read.has_value());
    ASSERT_TRUE(read->ends_with("ambervale-\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac"));

    const std::string path = ComposeHistoryFilePath(read);
    WinFiles files;
    files.DeletePlain(path);
    WinHistoryWriter writer;
    writer.Append(path, "line \xe9\r\n");
    writer.Append(path, "two\r\n");
    EXPECT_TRUE(files.FileExists(path));
    WinClipboardBuffer buffer(nullptr);
    buffer.LoadTextFile(path);
    EXPECT_EQ(buffer.TextLength(), 13u) << "the bytes as written";
    EXPECT_TRUE(files.DeletePlain(path));
    EXPECT_FALSE(files.FileExists(path));
    RemoveDirectoryW(folder.c_str());
}

} // namespace
} // namespace ambervale
