#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "glance/Calendars.h"
#include "glance/GlanceLine.h"
#include "glance/GlancePage.h"
#include "glance/TimeZoneRules.h"

namespace ambervale {

// The user's short-date and long-time pictures and the names they spell, in the user's calendar and the ANSI code
// page: those the history's lines were written by (GetDateFormatA, GetTimeFormatA with the user's locale). The
// calendar is the one the writer's own call uses: a date it writes must read back as that date.
DatePictures UserDatePictures();

// The PC's time zone with Windows' dynamic daylight saving: GetTimeZoneInformationForYear.
class WinTimeZone final : public TimeZoneRules {
public:
    ZoneYear ForYear(int year) override;
};

// Windows' own conversion of the calendars it alone knows (ConvertCalDateTimeToSystemTime), where it has one. A
// conversion counts only when the Gregorian date, written by the user's locale, gives back the very text read.
class WinCalendarConverter final : public CalendarConverter {
public:
    WinCalendarConverter();
    std::optional<GregorianDate> ToGregorian(const CalendarDate& date) override;
    bool Available() const { return convert_ != nullptr; }

private:
    std::optional<GregorianDate> Convert(const CalendarDate& date, int era);
    using ConvertFunction = BOOL(WINAPI*)(const void* calendarDateTime, SYSTEMTIME* systemTime);
    ConvertFunction convert_ = nullptr;
};

// The page's dates and times in the user's calendar and form (GetDateFormatW, GetTimeFormatW).
class WinShownDates final : public ShownDates {
public:
    std::string Date(LocalSeconds when) override;
    std::string Time(LocalSeconds when) override;
    std::string DayCaption(std::int64_t day) override;

private:
    std::int64_t lastDay_ = INT64_MIN;  // the date last written, which the next row most likely shares
    std::string lastDate_;
};

} // namespace ambervale
