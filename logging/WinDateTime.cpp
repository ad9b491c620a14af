#include "logging/WinDateTime.h"

#include <windows.h>

#include <chrono>
#include <optional>

#include "base/AppError.h"
#include "base/WinSizedCall.h"

namespace ambervale {
namespace {

// The user's patterns, but written in the system's ANSI code page like the rest of the line (the spooler's names),
// not in the code page of the user's locale, which may be another: one line, one code page.
constexpr DWORD kInAnsiCodePage = LOCALE_USE_CP_ACP;

SYSTEMTIME ToSystemTime(const LocalDateTime& when) {
    namespace chr = std::chrono;
    const chr::year_month_day date{chr::year{when.year}, chr::month{static_cast<unsigned>(when.month)},
                                   chr::day{static_cast<unsigned>(when.day)}};
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(when.year);
    st.wMonth = static_cast<WORD>(when.month);
    st.wDay = static_cast<WORD>(when.day);
    st.wDayOfWeek = date.ok() ? static_cast<WORD>(chr::weekday{chr::sys_days{date}}.c_encoding()) : 0;
    st.wHour = static_cast<WORD>(when.hour);
    st.wMinute = static_cast<WORD>(when.minute);
    st.wSecond = static_cast<WORD>(when.second);
    return st;
}

// Runs a Get*FormatA call for the size the text needs, then to fill it.
template <class Format>
std::string FormatWithLocale(Format format, const char* what) {
    const auto text = win::AskSizeThenFill<char>([&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
        const int written = format(buffer, static_cast<int>(size));
        if (written <= 0) return std::nullopt;
        return static_cast<std::size_t>(written);
    });
    if (!text || text->empty()) {
        const DWORD error = GetLastError();
        throw AppError(std::string("Cannot format the ") + what + " (Windows error " + std::to_string(error) + ")");
    }
    return std::string(text->data(), text->size() - 1);  // without the terminating zero
}

} // namespace

LocalDateTime WinClock::Now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return LocalDateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string WinDateTimeText::ShortDate(const LocalDateTime& when) {
    const SYSTEMTIME st = ToSystemTime(when);
    return FormatWithLocale(
        [&](char* buffer, int size) {
            return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE | kInAnsiCodePage, &st, nullptr, buffer, size);
        },
        "date");
}

std::string WinDateTimeText::LongTime(const LocalDateTime& when) {
    const SYSTEMTIME st = ToSystemTime(when);
    return FormatWithLocale(
        [&](char* buffer, int size) {
            return GetTimeFormatA(LOCALE_USER_DEFAULT, kInAnsiCodePage, &st, nullptr, buffer, size);
        },
        "time");
}

} // namespace ambervale
