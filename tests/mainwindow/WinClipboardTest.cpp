#include "mainwindow/WinClipboard.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>

#include "fakes/FakeHistoryServices.h"
#include "fakes/FakeMessageBoxes.h"
#include "base/AppError.h"
#include "mainwindow/HistoryCommands.h"
#include "mainwindow/WinFiles.h"
#include "fakes/WinScratchFolder.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

// The clipboard's text in one format (CF_TEXT as char, CF_UNICODETEXT as wchar_t), if it has that format.
template <class Char>
std::optional<std::basic_string<Char>> ClipboardText(UINT format) {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::basic_string<Char>> text;
    if (HANDLE data = GetClipboardData(format)) {
        if (const auto* chars = static_cast<const Char*>(GlobalLock(data))) {
            text = std::basic_string<Char>(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::optional<std::wstring> ClipboardUnicodeText() { return ClipboardText<wchar_t>(CF_UNICODETEXT); }

class WinClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(owner_, nullptr);
        buffer_.emplace(owner_);
        PutOnClipboard(L"copied earlier by the user");
    }
    void TearDown() override {
        buffer_.reset();
        DestroyWindow(owner_);
    }

    void PutOnClipboard(const std::wstring& text) {
        ASSERT_TRUE(OpenClipboard(owner_));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::wmemcpy(static_cast<wchar_t*>(GlobalLock(block)), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        EXPECT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
        CloseClipboard();
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

TEST_F(WinClipboardTest, CopiesASmallHistoryAsUnicodeAndAnsiText) {
    const std::string text = "12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Front Desk; \r\n"
                             "12/6/2026 8:15:09 PM Printer Status = Paused  ; Printer Name = Front Desk; \r\n";
    CopyHistory(folder_.Write("Ambervale.txt", text));
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(ClipboardUnicodeText(),
              L"12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Front Desk; \r\n"
              L"12/6/2026 8:15:09 PM Printer Status = Paused  ; Printer Name = Front Desk; \r\n");
    EXPECT_EQ(ClipboardText<char>(CF_TEXT), text);
}

TEST_F(WinClipboardTest, ConvertsBytesOutsideAsciiFromTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "expects the Western European ANSI code page, found " << GetACP();
    CopyHistory(folder_.Write("Ambervale.txt", "Printer Name = Caf\xE9 \xC9tage 2 \x80\r\n"));
    EXPECT_EQ(ClipboardUnicodeText(), L"Printer Name = Caf\u00E9 \u00C9tage 2 \u20AC\r\n");
}

TEST_F(WinClipboardTest, NoFileOrAnEmptyFileLeavesTheClipboardAsItWas) {
    CopyHistory(folder_.File("Ambervale.txt"));
    EXPECT_EQ(ClipboardUnicodeText(), L"copied earlier by the user");
    CopyHistory(folder_.Write("Ambervale.txt", ""));
    EXPECT_EQ(ClipboardUnicodeText(), L"copied earlier by the user");
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(WinClipboardTest, ASecondCopyReplacesTheFirst) {
    const std::string path = folder_.Write("Ambervale.txt", "first entry\r\n");
    CopyHistory(path);
    folder_.Write("Ambervale.txt", "second\r\n");
    CopyHistory(path);
    EXPECT_EQ(ClipboardUnicodeText(), L"second\r\n");
}

TEST_F(WinClipboardTest, CopiesOnlyTheSelectedPart) {
    buffer_->LoadTextFile(folder_.Write("Ambervale.txt", "0123456789"));
    EXPECT_EQ(buffer_->TextLength(), 10u);
    buffer_->SetSelectionStart(3);
    buffer_->SetSelectionLength(100);  // cut at the end of the text
    buffer_->CopySelection();
    EXPECT_EQ(ClipboardUnicodeText(), L"3456789");
}

TEST_F(WinClipboardTest, AFileThatCannotBeReadLeavesNothingToCopy) {
    buffer_->LoadTextFile(folder_.Write("Ambervale.txt", "old text"));
    EXPECT_THROW(buffer_->LoadTextFile(folder_.File("missing.txt")), AppError);
    EXPECT_EQ(buffer_->TextLength(), 0u);
    buffer_->SetSelectionStart(0);
    buffer_->SetSelectionLength(8);
    buffer_->CopySelection();
    EXPECT_EQ(ClipboardUnicodeText(), L"copied earlier by the user");
}

TEST_F(WinClipboardTest, CopiesAHundredMegabyteHistoryWhole) {
    std::string line = "12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Front Desk; "
                       "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; \r\n";
    std::string chunk;
    while (chunk.size() + line.size() <= (1u << 20)) chunk += line;
    chunk.resize(1u << 20, '.');
    const std::size_t total = 100u << 20;
    {
        const std::string path = folder_.File("Ambervale.txt");
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        for (std::size_t written = 0; written < total; written += chunk.size()) {
            DWORD done = 0;
            ASSERT_TRUE(WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr));
        }
        CloseHandle(file);
    }
    CopyHistory(folder_.File("Ambervale.txt"));
    ASSERT_TRUE(boxes_.shown.empty()) << boxes_.shown[0].text;

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
    ASSERT_NE(chars, nullptr);
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < total; ++i) {
        if (chars[i] != static_cast<unsigned char>(chunk[i % chunk.size()])) ++mismatches;
    }
    const bool endsThere = chars[total] == L'\0';
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(mismatches, 0u);
    EXPECT_TRUE(endsThere);
}

} // namespace
} // namespace ambervale
