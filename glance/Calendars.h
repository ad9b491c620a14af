#pragma once
#include <optional>
#include <string_view>

namespace ambervale {

// Windows' calendars by their number (LOCALE_ICALENDARTYPE, CAL_*): the user's, which writes the history's dates.
namespace calendar {
inline constexpr int kGregorian = 1;
inline constexpr int kGregorianUs = 2;
inline constexpr int kJapan = 3;
inline constexpr int kTaiwan = 4;
inline constexpr int kKorea = 5;
inline constexpr int kHijri = 6;
inline constexpr int kThai = 7;
inline constexpr int kHebrew = 8;
inline constexpr int kGregorianMeFrench = 9;
inline constexpr int kGregorianArabic = 10;
inline constexpr int kGregorianTransliteratedEnglish = 11;
inline constexpr int kGregorianTransliteratedFrench = 12;
inline constexpr int kUmAlQura = 23;
} // namespace calendar

// A date as a calendar writes it: the era (1 for calendars that have one; Japan's numbered from Meiji), the year in
// it, the month (13 in a Hebrew leap year) and the day.
struct CalendarDate {
    int calendar = calendar::kGregorian;
    int era = 1;
    int year = 0;
    int month = 0;
    int day = 0;
    std::string_view written;  // the date as the line has it
};

struct GregorianDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// A calendar that only Windows knows how to turn into the Gregorian one (Hijri, Um Al-Qura, Hebrew, Japan's eras).
// nullopt: it cannot (no such conversion on this PC, or no such date).
class CalendarConverter {
public:
    virtual ~CalendarConverter() = default;
    virtual std::optional<GregorianDate> ToGregorian(const CalendarDate& date) = 0;
};

// The Gregorian date of a calendar's date: the Gregorian kinds as they stand, the calendars that count years from
// another start (Thai Buddhist, Taiwan, Korean) by their offset, the others through converter. nullopt when the date
// is no date of its calendar, or the calendar cannot be converted here: never a guess.
std::optional<GregorianDate> ToGregorian(const CalendarDate& date, CalendarConverter* converter);

// The Gregorian year of a year of that calendar, for the calendars that count years by an offset; nullopt for others.
std::optional<int> YearOffset(int calendarType);

} // namespace ambervale
