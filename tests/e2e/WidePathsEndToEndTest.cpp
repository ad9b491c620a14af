// A user whose folders the ANSI code page cannot spell (Greek letters on a system of code page 1252): the history file
// in such a TEMP folder, and a copy of the program in such a folder started with Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "e2e/LoggingEverySecond.h"
#include "mainwindow/Form1Layout.h"
#include "startup/RegStuff.h"

namespace ambervale::e2e {
namespace {

constexpr wchar_t kGreekFolder[] = L"ambervale-e2e-\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";  // "Ellinika"

std::wstring TempPathWide() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

std::wstring GreekFolder(const wchar_t* below) {
    const std::wstring folder = TempPathWide() + kGreekFolder;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring inner = folder + L"\\" + below;
    CreateDirectoryW(inner.c_str(), nullptr);
    return inner;
}

std::string FileBytes(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

std::size_t LineCount(const std::string& bytes) {
    std::size_t count = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++count;
    return count;
}

std::wstring RunValueWide(HKEY hive) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    const std::wstring key(kRunKeyPath.begin(), kRunKeyPath.end());
    if (RegGetValueW(hive, key.c_str(), L"Ambervale.exe", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return {};
    }
    return data;
}

void DeleteRunValues() {
    const std::wstring key(kRunKeyPath.begin(), kRunKeyPath.end());
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteKeyValueW(hive, key.c_str(), L"Ambervale.exe");
}

class WidePaths : public LoggingEverySecond {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u) << "runs on a system whose ANSI code page has no Greek letters";
        LoggingEverySecond::SetUp();
        DeleteRunValues();
    }
    void TearDown() override {
        LoggingEverySecond::TearDown();
        DeleteRunValues();
    }
};

TEST_F(WidePaths, ATempFolderOfGreekLettersGetsItsLinesWithoutABox) {
    const std::wstring temp = GreekFolder(L"temp");
    const std::wstring history = temp + L"\\Ambervale.txt";
    DeleteFileW(history.c_str());
    const std::string exe = AmbervaleExe();
    app_ = std::make_unique<AppProcess>(std::wstring(exe.begin(), exe.end()), temp);
    form_ = app_->WaitForMainWindow(kBound);
    ASSERT_NE(form_, nullptr);

    ASSERT_TRUE(WaitFor([&] { return LineCount(FileBytes(history)) >= 2; }, kBound));
    EXPECT_TRUE(ErrorBoxes(app_->Id()).empty()) << "no box at any entry";
    const std::string bytes = FileBytes(history);
    EXPECT_NE(bytes.find(" Printer Status = "), std::string::npos);
    EXPECT_EQ(bytes.find('\0'), std::string::npos) << "the lines are ANSI text, not UTF-16";
    Close();
}

TEST_F(WidePaths, ACopyInAFolderOfGreekLettersIsStartedByItsRunValue) {
    const std::wstring folder = GreekFolder(L"\u03a0\u03c1\u03cc\u03b3\u03c1\u03b1\u03bc\u03bc\u03b1");  // "Programma"
    const std::wstring exe = folder + L"\\Ambervale.exe";
    const std::string built = AmbervaleExe();
    ASSERT_TRUE(CopyFileW(std::wstring(built.begin(), built.end()).c_str(), exe.c_str(), FALSE));
    SetSetting("StartStopState", "Off");
    {
        AppProcess copy(exe, GreekFolder(L"temp"));
        const HWND form = copy.WaitForMainWindow(kBound);
        ASSERT_NE(form, nullptr);
        SendMessageA(GetDlgItem(form, kCheck4), BM_CLICK, 0, 0);
        PostMessageA(form, WM_CLOSE, 0, 0);
        ASSERT_TRUE(copy.WaitForExit(kBound));
    }
    std::wstring registered = RunValueWide(HKEY_LOCAL_MACHINE);
    if (registered.empty()) registered = RunValueWide(HKEY_CURRENT_USER);
    ASSERT_EQ(registered, L"\"" + exe + L"\"");

    // As Windows does at the next logon: the value's text is the command line.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, registered.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &started));
    CloseHandle(started.hThread);
    const HWND form = WindowOfClass(started.dwProcessId, "AmbervaleForm1", kBound);
    ASSERT_NE(form, nullptr) << "the program it names started";
    EXPECT_TRUE(WaitUntilVisible(form, true, kBound)) << "its start-up ended";
    EXPECT_EQ(SendMessageA(GetDlgItem(form, kCheck4), BM_GETCHECK, 0, 0), BST_CHECKED) << "and knows it was";
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(started.hProcess, kBound), WAIT_OBJECT_0);
    CloseHandle(started.hProcess);
}

} // namespace
} // namespace ambervale::e2e
