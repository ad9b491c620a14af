// A user whose locale has another code page than the system's (Greek, 1253, beside the system's 1252): the lines are
// in the ANSI code page as a whole, date and time included, and a copy of the history reads as the file does.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "mainwindow/Form1Layout.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinClipboardText.h"

namespace ambervale::e2e {
namespace {

std::wstring FromAnsi(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wide;
}

// A text of the user's locale as the ANSI code page writes it.
std::string UserLocaleTextInAnsi(LCTYPE type) {
    wchar_t text[80] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80);
    char ansi[160] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return ansi;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(UserLocale, DateAndTimeAreInTheAnsiCodePageAndTheCopyReadsAsTheFile) {
    wchar_t userCodePage[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, userCodePage, 8);
    ASSERT_NE(std::wstring(userCodePage), std::to_wstring(GetACP())) << "runs where the user's locale has its own";
    DeleteAllSettings();
    SetSetting("OftenIndex", "1");  // every second
    SetSetting("StartStopState", "On");
    const std::string temp = FreshTempFolder("user-locale");
    const std::string history = temp + "\\Ambervale.txt";
    // An earlier entry of a printer whose name has a letter of the code page past ASCII: 0xE9 is "e" with an acute
    // in 1252, and iota in the Greek 1253.
    const std::string earlier = "8/12/2026 8:15:04 AM Printer Status = Ready; Printer Name = Caf\xe9; "
                                "Printer Driver Name = Generic; Printer Port Name = LPT1:; ";
    std::ofstream(history, std::ios::binary) << earlier << "\r\n";

    AppProcess app(AmbervaleExe(), temp);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ReadLines(history).size() >= 2; }, 30000));
    PostMessageA(GetDlgItem(form, kPushButton5), BM_CLICK, 0, 0);  // no more lines while the copy is compared
    ASSERT_TRUE(WaitFor([&] { return GetSetting("StartStopState") == "Off"; }, 10000));

    const std::string line = ReadLines(history)[1];
    const std::string dateTime = line.substr(0, line.find(" Printer Status"));
    // The Greek time ends with its morning or evening marker: in 1253 its own letters, in the ANSI code page what
    // that writes for them.
    EXPECT_TRUE(EndsWith(dateTime, " " + UserLocaleTextInAnsi(LOCALE_S1159)) ||
                EndsWith(dateTime, " " + UserLocaleTextInAnsi(LOCALE_S2359)))
        << dateTime;

    const DWORD sequence = GetClipboardSequenceNumber();
    PostMessageA(GetDlgItem(form, kPushButton2), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return GetClipboardSequenceNumber() != sequence; }, 20000));
    const auto copied = ambervale::testing::ClipboardText<wchar_t>(CF_UNICODETEXT);
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->find(FromAnsi(earlier)), 0u) << "the name reads as the file has it";
    EXPECT_NE(copied->find(FromAnsi(line)), std::wstring::npos);
    EXPECT_TRUE(ErrorBoxes(app.Id()).empty());

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
    DeleteFileA(history.c_str());
    DeleteAllSettings();
}

} // namespace
} // namespace ambervale::e2e
