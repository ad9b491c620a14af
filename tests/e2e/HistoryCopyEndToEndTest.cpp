// The history copy of the real program with large histories: a large one goes whole onto the clipboard without a
// word; one too large for memory gives one error box at the load, leaves the clipboard alone, and the program goes
// on logging.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/ErrorReport.h"
#include "base/WinHandles.h"
#include "mainwindow/Form1Layout.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinClipboardText.h"

namespace ambervale::e2e {
namespace {

using ambervale::testing::ClipboardText;
using ambervale::testing::PutTextOnClipboard;

constexpr std::size_t kMegabyte = 1u << 20;
constexpr char kUsersText[] = "copied earlier by the user";

// One megabyte of log lines as the program writes them.
std::string HistoryMegabyte() {
    const std::string line = "12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Front Desk; "
                             "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; \r\n";
    std::string chunk;
    while (chunk.size() < kMegabyte) chunk += line;
    chunk.resize(kMegabyte);
    return chunk;
}

win::UniqueFile NewFile(const std::string& path) {
    return win::UniqueFile(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

bool WriteHistory(const std::string& path, const std::string& megabyte, std::size_t megabytes) {
    const win::UniqueFile file = NewFile(path);
    bool ok = static_cast<bool>(file);
    for (std::size_t i = 0; ok && i < megabytes; ++i) {
        DWORD written = 0;
        ok = WriteFile(file.get(), megabyte.data(), static_cast<DWORD>(megabyte.size()), &written, nullptr) != 0;
    }
    return ok;
}

// A history of that size at once: its length is set without writing its bytes.
bool MakeHugeHistory(const std::string& path, unsigned long long bytes) {
    const win::UniqueFile file = NewFile(path);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes);
    return file && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

// Clicks without waiting for the handler, which may sit in a modal box.
void Click(HWND form, int control) { PostMessageA(GetDlgItem(form, control), BM_CLICK, 0, 0); }

// True when the clipboard's CF_TEXT is this megabyte repeated that many times, and nothing more.
bool ClipboardHoldsRepeated(const std::string& megabyte, std::size_t megabytes) {
    if (!OpenClipboard(nullptr)) return false;
    bool same = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            same = GlobalSize(data) > megabytes * kMegabyte && chars[megabytes * kMegabyte] == '\0';
            for (std::size_t i = 0; same && i < megabytes; ++i) {
                same = std::memcmp(chars + i * kMegabyte, megabyte.data(), kMegabyte) == 0;
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return same;
}

class HistoryCopy : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteAllSettings();
        ASSERT_TRUE(PutTextOnClipboard(kUsersText));
    }
    void TearDown() override {
        DeleteFileA(history_.c_str());
        DeleteAllSettings();
    }

    std::string temp_;
    std::string history_;
};

TEST_F(HistoryCopy, AThreeHundredMegabyteHistoryGoesWholeOntoTheClipboardWithoutABox) {
    temp_ = FreshTempFolder("copy-large");
    history_ = temp_ + "\\Ambervale.txt";
    const std::string megabyte = HistoryMegabyte();
    ASSERT_TRUE(WriteHistory(history_, megabyte, 300));
    SetSetting("StartStopState", "Off");
    AppProcess app(AmbervaleExe(), temp_);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    const DWORD sequence = GetClipboardSequenceNumber();

    Click(form, kPushButton2);
    WaitFor([&] { return GetClipboardSequenceNumber() != sequence; }, 60000);
    // The program answers once the copy is done.
    DWORD_PTR ignored = 0;
    ASSERT_NE(SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored), 0);
    EXPECT_TRUE(ErrorBoxes(app.Id()).empty());
    EXPECT_TRUE(ClipboardHoldsRepeated(megabyte, 300));

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(10000));
}

TEST_F(HistoryCopy, AHistoryTooLargeForMemoryGivesOneBoxAtTheLoadAndLeavesTheClipboardAlone) {
    temp_ = FreshTempFolder("copy-too-large");
    history_ = temp_ + "\\Ambervale.txt";
    // 1.5 GB is more than the 32-bit build can hold at once; the 64-bit build refuses a text past 2 GB, which no
    // pasting program could take whole.
    const unsigned long long size = sizeof(void*) == 4 ? 1536ull * kMegabyte : 2048ull * kMegabyte;
    ASSERT_TRUE(MakeHugeHistory(history_, size));
    SetSetting("OftenIndex", "1");
    SetSetting("StartStopState", "On");
    AppProcess app(AmbervaleExe(), temp_);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);

    Click(form, kPushButton2);
    HWND box = WaitForErrorBox(app.Id(), 60000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), ErrorBoxText("Out of memory", "PushButton2_Click", 102));
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), kUsersText);

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 10000));
    // Still logging: two more entries after the box has gone, and no other box on the way.
    HWND listView1 = GetDlgItem(form, kListView1);
    const int rows = ListViewCount(listView1);
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(listView1) >= rows + 2; }, 30000));
    EXPECT_TRUE(ErrorBoxes(app.Id()).empty());
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), kUsersText);

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ExitCode(), 0u);
}

} // namespace
} // namespace ambervale::e2e
