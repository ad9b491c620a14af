#include "glance/Calendars.h"

#include <chrono>

namespace ambervale {
namespace {

bool IsGregorianKind(int type) {
    switch (type) {
    case calendar::kGregorian:
    case calendar::kGregorianUs:
    case calendar::kGregorianMeFrench:
    case calendar::kGregorianArabic:
    case calendar::kGregorianTransliteratedEnglish:
    case calendar::kGregorianTransliteratedFrench:
        return true;
    default:
        return false;
    }
}

std::optional<GregorianDate> Checked(int year, int month, int day) {
    namespace chr = std::chrono;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const chr::year_month_day date{chr::year{year}, chr::month{static_cast<unsigned>(month)},
                                   chr::day{static_cast<unsigned>(day)}};
    if (!date.ok()) return std::nullopt;
    return GregorianDate{year, month, day};
}

} // namespace

std::optional<int> YearOffset(int calendarType) {
    if (IsGregorianKind(calendarType)) return 0;
    switch (calendarType) {
    case calendar::kThai: return -543;    // 2569 is 2026
    case calendar::kTaiwan: return 1911;  // 115 is 2026
    case calendar::kKorea: return -2333;  // 4359 is 2026
    default: return std::nullopt;
    }
}

std::optional<GregorianDate> ToGregorian(const CalendarDate& date, CalendarConverter* converter) {
    if (const auto offset = YearOffset(date.calendar)) {
        // These calendars are the Gregorian one with the years counted from elsewhere: the same months, days and
        // leap days (29/2/2567 is 29 February 2024).
        if (date.year < -100000 || date.year > 100000) return std::nullopt;
        return Checked(date.year + *offset, date.month, date.day);
    }
    if (!converter) return std::nullopt;
    const auto converted = converter->ToGregorian(date);
    if (!converted) return std::nullopt;
    return Checked(converted->year, converted->month, converted->day);
}

} // namespace ambervale
