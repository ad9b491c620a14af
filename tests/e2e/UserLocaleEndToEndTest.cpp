// A user whose locale has another code page than the system's (Greek, 1253, beside the system's 1252): the lines are
// in the ANSI code page as a whole, date and time included, and a copy of the history reads as the file does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/LoggingEverySecond.h"
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

using UserLocale = LoggingEverySecond;

TEST_F(UserLocale, DateAndTimeAreInTheAnsiCodePageAndTheCopyReadsAsTheFile) {
    wchar_t userCodePage[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, userCodePage, 8);
    ASSERT_NE(std::wstring(userCodePage), std::to_wstring(GetACP())) << "runs where the user's locale has its own";
    // An earlier entry of a printer whose name has a letter of the code page past ASCII: 0xE9 is "e" with an acute
    // in 1252, and iota in the Greek 1253.
    const std::string earlier = "8/12/2026 8:15:04 AM Printer Status = Ready; Printer Name = Caf\xe9; "
                                "Printer Driver Name = Generic; Printer Port Name = LPT1:; ";
    ASSERT_NO_FATAL_FAILURE(Start("user-locale", earlier + "\r\n"));
    ASSERT_TRUE(WaitFor([&] { return Lines().size() >= 2; }, kBound));
    PostMessageA(GetDlgItem(form_, kPushButton5), BM_CLICK, 0, 0);  // no more lines while the copy is compared
    ASSERT_TRUE(WaitFor([&] { return GetSetting("StartStopState") == "Off"; }, 10000));

    const std::string line = Lines()[1];
    const std::string dateTime = line.substr(0, line.find(" Printer Status"));
    // The Greek time ends with its morning or evening marker: in 1253 its own letters, in the ANSI code page what
    // that writes for them.
    EXPECT_TRUE(dateTime.ends_with(" " + UserLocaleTextInAnsi(LOCALE_S1159)) ||
                dateTime.ends_with(" " + UserLocaleTextInAnsi(LOCALE_S2359)))
        << dateTime;

    const DWORD sequence = GetClipboardSequenceNumber();
    PostMessageA(GetDlgItem(form_, kPushButton2), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return GetClipboardSequenceNumber() != sequence; }, 20000));
    const auto copied = ambervale::testing::ClipboardText<wchar_t>(CF_UNICODETEXT);
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->find(FromAnsi(earlier)), 0u) << "the name reads as the file has it";
    EXPECT_NE(copied->find(FromAnsi(line)), std::wstring::npos);
    EXPECT_TRUE(ErrorBoxes(app_->Id()).empty());
    Close();
}

} // namespace
} // namespace ambervale::e2e
