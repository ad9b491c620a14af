#include "history/WinClipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "base/AppError.h"
#include "base/ErrorReport.h"
#include "base/WinLastError.h"
#include "fakes/FakeHistoryServices.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/WinClipboardText.h"
#include "fakes/WinScratchFolder.h"
#include "history/HistoryCommands.h"
#include "history/WinFiles.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

constexpr char kUsersText[] = "copied earlier by the user";

std::optional<std::wstring> ClipboardUnicodeText() { return ClipboardText<wchar_t>(CF_UNICODETEXT); }
std::optional<std::string> ClipboardAnsiText() { return ClipboardText<char>(CF_TEXT); }

std::optional<LCID> ClipboardLocale() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<LCID> locale;
    if (HANDLE data = GetClipboardData(CF_LOCALE)) {
        if (const void* value = GlobalLock(data)) {
            locale.emplace();
            std::memcpy(&*locale, value, sizeof(LCID));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return locale;
}

// Holds the clipboard open from another thread, as another program may, until it goes.
class ClipboardHeldElsewhere {
public:
    ClipboardHeldElsewhere()
        : opened_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          thread_(CreateThread(nullptr, 0, &Hold, this, 0, nullptr)) {
        WaitForSingleObject(opened_, 10000);
    }
    ~ClipboardHeldElsewhere() {
        SetEvent(release_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(release_);
        CloseHandle(opened_);
    }
    ClipboardHeldElsewhere(const ClipboardHeldElsewhere&) = delete;
    ClipboardHeldElsewhere& operator=(const ClipboardHeldElsewhere&) = delete;

private:
    static DWORD WINAPI Hold(void* self) {
        auto* held = static_cast<ClipboardHeldElsewhere*>(self);
        const BOOL open = OpenClipboard(nullptr);
        SetEvent(held->opened_);
        WaitForSingleObject(held->release_, 10000);
        if (open) CloseClipboard();
        return 0;
    }

    HANDLE opened_;
    HANDLE release_;
    HANDLE thread_;
};

class WinClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(owner_, nullptr);
        buffer_.emplace(owner_);
        ASSERT_TRUE(PutTextOnClipboard(kUsersText));
    }
    void TearDown() override {
        buffer_.reset();
        DestroyWindow(owner_);
    }

    // The copy command as the button runs it, on real files and the real clipboard.
    void CopyHistory(const std::string& path) {
        HistoryCommands commands(HistoryServices{boxes_, pump_, files_, processes_, *buffer_, rows_});
        commands.PushButton2_Click(HistoryTarget{path, "Amber"});
    }

    WinScratchFolder folder_;
    FakeMessageBoxes boxes_;
    FakeMessagePump pump_;
    WinFiles files_;
    FakeProcessStarter processes_;
    FakeLogListRows rows_;
    HWND owner_ = nullptr;
    std::optional<WinClipboardBuffer> buffer_;
};

TEST_F(WinClipboardTest, CopiesTheWholeHistoryAsAnsiTextWithTheUsersLocaleAndTheSystemMakesTheUnicodeText) {
    const std::string text = "12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Front Desk; \r\n"
                             "12/6/2026 8:15:09 PM Printer Status = Paused  ; Printer Name = Front Desk; \r\n";
    CopyHistory(folder_.Write("Ambervale.txt", text));
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(ClipboardAnsiText(), text);
    EXPECT_EQ(ClipboardLocale(), GetUserDefaultLCID());
    EXPECT_EQ(ClipboardUnicodeText(),
              L"12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Front Desk; \r\n"
              L"12/6/2026 8:15:09 PM Printer Status = Paused  ; Printer Name = Front Desk; \r\n");
    EXPECT_EQ(buffer_->TextLength(), 0u) << "the text went to the clipboard; the buffer keeps none of it";
}

TEST_F(WinClipboardTest, TheUnicodeTextIsConvertedFromTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "expects the Western European ANSI code page, found " << GetACP();
    CopyHistory(folder_.Write("Ambervale.txt", "Printer Name = Caf\xE9 \xC9tage 2 \x80\r\n"));
    EXPECT_EQ(ClipboardUnicodeText(), L"Printer Name = Caf\u00E9 \u00C9tage 2 \u20AC\r\n");
}

TEST_F(WinClipboardTest, NoFileOrAnEmptyFileLeavesTheClipboardAsItWas) {
    CopyHistory(folder_.File("Ambervale.txt"));
    EXPECT_EQ(ClipboardAnsiText(), kUsersText);
    CopyHistory(folder_.Write("Ambervale.txt", ""));
    EXPECT_EQ(ClipboardAnsiText(), kUsersText);
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(WinClipboardTest, AHistoryThatCannotBeLoadedGivesOneBoxAtTheLoadAndLeavesTheClipboardAsItWas) {
    struct Case {
        const char* what;
        bool heldOpen;              // by another program, which does not share it
        unsigned long long length;  // set without writing the bytes; 0 keeps the written text
        std::string description;
    };
    const Case cases[] = {
        {"a history another program holds", true, 0, SystemErrorText(ERROR_SHARING_VIOLATION)},
        {"a history past 2 GB", false, 2048ull << 20, "Out of memory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes_.shown.clear();
        const std::string path = folder_.Write("Ambervale.txt", "12/6/2026 8:15:04 PM Printer Status = Ready; \r\n");
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(c.length);
        if (c.length > 0) {
            ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        }
        if (!c.heldOpen) CloseHandle(file);

        CopyHistory(path);
        if (c.heldOpen) CloseHandle(file);
        ASSERT_EQ(boxes_.shown.size(), 1u);
        EXPECT_EQ(boxes_.shown[0].text, ErrorBoxText(c.description, "PushButton2_Click", 102));
        EXPECT_EQ(ClipboardAnsiText(), kUsersText);
        EXPECT_EQ(buffer_->TextLength(), 0u);
        DeleteFileA(path.c_str());
    }
}

TEST_F(WinClipboardTest, ASecondCopyReplacesTheFirst) {
    const std::string path = folder_.Write("Ambervale.txt", "first entry\r\n");
    CopyHistory(path);
    folder_.Write("Ambervale.txt", "second\r\n");
    CopyHistory(path);
    EXPECT_EQ(ClipboardAnsiText(), "second\r\n");
    EXPECT_EQ(ClipboardUnicodeText(), L"second\r\n");
}

TEST_F(WinClipboardTest, ASelectionStartsAtTheTextsStartAndEndsWhereItsLengthSays) {
    buffer_->LoadTextFile(folder_.Write("Ambervale.txt", "0123456789"));
    EXPECT_EQ(buffer_->TextLength(), 10u);
    EXPECT_THROW(buffer_->SetSelectionStart(3), AppError);
    buffer_->SetSelectionStart(0);
    buffer_->SetSelectionLength(4);
    buffer_->CopySelection();
    EXPECT_EQ(ClipboardAnsiText(), "0123");
    EXPECT_EQ(ClipboardUnicodeText(), L"0123");
}

TEST_F(WinClipboardTest, AClipboardHeldByAnotherProgramIsReportedAndKeepsItsContent) {
    buffer_->LoadTextFile(folder_.Write("Ambervale.txt", "12/6/2026 8:15:04 PM Printer Status = Ready; \r\n"));
    buffer_->SetSelectionStart(0);
    buffer_->SetSelectionLength(buffer_->TextLength());
    {
        ClipboardHeldElsewhere held;
        EXPECT_THROW(buffer_->CopySelection(), AppError);
    }
    EXPECT_EQ(ClipboardAnsiText(), kUsersText);
    EXPECT_EQ(buffer_->TextLength(), 0u);
}

} // namespace
} // namespace ambervale
