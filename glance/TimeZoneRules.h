#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace ambervale {

// Seconds from 1 January 1970 of a local date and time as the clock on the wall showed it (no time zone): what the
// history's lines hold.
using LocalSeconds = std::int64_t;
// Seconds from 1 January 1970 UTC: time as it passed.
using UtcSeconds = std::int64_t;

LocalSeconds ToLocalSeconds(int year, int month, int day, int hour, int minute, int second);
// The day of a local time: LocalSeconds of its midnight divided by 86400.
inline std::int64_t DayOf(LocalSeconds when) { return when >= 0 ? when / 86400 : (when - 86399) / 86400; }

// One of a year's two clock changes as Windows states it (a SYSTEMTIME of TIME_ZONE_INFORMATION): the week'th
// weekday of month (week 5: the last), at that time of day; with year set, that very date (day of the month).
struct ClockChange {
    int year = 0;
    int month = 0;  // 0: the zone has no daylight saving
    int weekday = 0;  // 0 Sunday
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// A time zone's rules for one year, as TIME_ZONE_INFORMATION gives them: UTC = local time + bias, in minutes.
struct ZoneYear {
    int bias = 0;
    int standardBias = 0;
    int daylightBias = 0;
    ClockChange standardDate;  // daylight saving ends, at this time of the daylight clock
    ClockChange daylightDate;  // daylight saving begins, at this time of the standard clock
};

// The PC's time zone, year by year (Windows' dynamic daylight saving: the rules of one year may not be the next's).
class TimeZoneRules {
public:
    virtual ~TimeZoneRules() = default;
    virtual ZoneYear ForYear(int year) = 0;
};

// Local times turned into UTC by the rules of the year they fall in. A local time that the clock showed twice (the
// hour repeated when daylight saving ends) has two readings; one the clock skipped (the hour it jumps over) is read
// as the instant after the jump. Without rules, local time is taken as UTC.
class LocalToUtc {
public:
    explicit LocalToUtc(TimeZoneRules* rules) : rules_(rules) {}

    struct Readings {
        UtcSeconds earlier;
        UtcSeconds later;  // equal to earlier but in the repeated hour
    };
    // Inline: every line of the record is turned so.
    Readings Convert(LocalSeconds local) {
        const Year& year = YearOf(local);
        const UtcSeconds standard = local + year.standardOffset;
        if (!year.daylightSaving) return {standard, standard};
        const UtcSeconds daylight = local + year.daylightOffset;
        const bool asStandard = !year.InDaylight(standard);
        const bool asDaylight = year.InDaylight(daylight);
        if (asStandard && asDaylight) {
            return {standard < daylight ? standard : daylight, standard < daylight ? daylight : standard};
        }
        if (asStandard) return {standard, standard};
        if (asDaylight) return {daylight, daylight};
        // Skipped by the clock: read by the offset before the jump, which puts it after the jump.
        const UtcSeconds after = standard > daylight ? standard : daylight;
        return {after, after};
    }
    // The first instant of a local day (its midnight, or the end of the jump that skipped it).
    UtcSeconds DayStart(std::int64_t day) { return Convert(day * 86400).earlier; }
    // The instant within [from, to) at which the clock is put forward or back, by the rules of local's year.
    std::optional<UtcSeconds> ChangeWithin(LocalSeconds local, UtcSeconds from, UtcSeconds to);

private:
    struct Year {
        LocalSeconds from = 1;  // the year's local span; empty until first used
        LocalSeconds to = 0;
        bool daylightSaving = false;
        std::int64_t standardOffset = 0;  // seconds added to local time to give UTC
        std::int64_t daylightOffset = 0;
        UtcSeconds daylightFrom = 0;
        UtcSeconds daylightTo = 0;
        bool InDaylight(UtcSeconds utc) const {
            return daylightFrom < daylightTo ? utc >= daylightFrom && utc < daylightTo
                                             : utc >= daylightFrom || utc < daylightTo;
        }
    };
    const Year& YearOf(LocalSeconds local) {
        for (const Year& year : years_) {
            if (local >= year.from && local < year.to) return year;
        }
        return LoadYear(local);
    }
    const Year& LoadYear(LocalSeconds local);

    TimeZoneRules* rules_;
    // The two years last used: a record is read in order, and only the turn of a year asks for another.
    std::array<Year, 2> years_{};
    std::size_t nextYear_ = 0;
};

} // namespace ambervale
