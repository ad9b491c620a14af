#include "glance/TimeZoneRules.h"

#include <algorithm>
#include <chrono>

namespace ambervale {
namespace {

namespace chr = std::chrono;

// The local time of a clock change in that year, by the clock in force before it.
LocalSeconds ChangeTime(const ClockChange& change, int year) {
    int day = change.day;
    if (change.year == 0) {
        // The week'th weekday of the month; the fifth is the last, which some months have only four of.
        const chr::year_month first{chr::year{year} / chr::month{static_cast<unsigned>(change.month)}};
        const unsigned firstWeekday = chr::weekday{chr::sys_days{first / 1}}.c_encoding();
        const int lastDay = static_cast<int>(static_cast<unsigned>((first / chr::last).day()));
        day = 1 + (change.weekday - static_cast<int>(firstWeekday) + 7) % 7 + 7 * (std::clamp(change.day, 1, 5) - 1);
        while (day > lastDay) day -= 7;
    }
    // A change stated as 23:59:59.999 is the end of that day.
    return ToLocalSeconds(year, change.month, day, change.hour, change.minute, change.second) +
           (change.millisecond > 0 ? 1 : 0);
}

bool Usable(const ClockChange& change) {
    return change.month >= 1 && change.month <= 12 && change.weekday >= 0 && change.weekday <= 6 && change.day >= 1 &&
           change.day <= 31 && change.hour >= 0 && change.hour <= 23 && change.minute >= 0 && change.minute <= 59 &&
           change.second >= 0 && change.second <= 59;
}

} // namespace

LocalSeconds ToLocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    const chr::sys_days days{chr::year{year} / chr::month{static_cast<unsigned>(month)} /
                             chr::day{static_cast<unsigned>(day)}};
    return static_cast<LocalSeconds>(days.time_since_epoch().count()) * 86400 + hour * 3600 + minute * 60 + second;
}

const LocalToUtc::Year& LocalToUtc::LoadYear(LocalSeconds local) {
    const chr::year_month_day date{chr::sys_days{chr::days{DayOf(local)}}};
    const int number = static_cast<int>(date.year());
    Year& year = years_[nextYear_];
    nextYear_ = 1 - nextYear_;
    year = Year{};
    year.from = ToLocalSeconds(number, 1, 1, 0, 0, 0);
    year.to = ToLocalSeconds(number + 1, 1, 1, 0, 0, 0);
    if (!rules_) return year;
    const ZoneYear zone = rules_->ForYear(number);
    year.standardOffset = (static_cast<std::int64_t>(zone.bias) + zone.standardBias) * 60;
    year.daylightOffset = (static_cast<std::int64_t>(zone.bias) + zone.daylightBias) * 60;
    year.daylightSaving = Usable(zone.standardDate) && Usable(zone.daylightDate) &&
                          year.standardOffset != year.daylightOffset;
    if (year.daylightSaving) {
        year.daylightFrom = ChangeTime(zone.daylightDate, number) + year.standardOffset;
        year.daylightTo = ChangeTime(zone.standardDate, number) + year.daylightOffset;
    }
    return year;
}

} // namespace ambervale

namespace ambervale {

std::optional<UtcSeconds> LocalToUtc::ChangeWithin(LocalSeconds local, UtcSeconds from, UtcSeconds to) {
    const Year& year = YearOf(local);
    if (!year.daylightSaving) return std::nullopt;
    for (const UtcSeconds change : {year.daylightFrom, year.daylightTo}) {
        if (change >= from && change < to) return change;
    }
    return std::nullopt;
}

} // namespace ambervale
