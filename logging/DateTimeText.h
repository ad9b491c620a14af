#pragma once
#include <string>

namespace ambervale {

// A local calendar date and time of day, to the second.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() = 0;
};

// The user's locale patterns, as they are at the moment of the call. Throws AppError on failure.
class DateTimeText {
public:
    virtual ~DateTimeText() = default;
    virtual std::string ShortDate(const LocalDateTime& when) = 0;
    virtual std::string LongTime(const LocalDateTime& when) = 0;
};

// The general date form: the short date, a blank and the long time; the date alone at exactly
// midnight.
std::string GeneralDateText(DateTimeText& text, const LocalDateTime& when);

} // namespace ambervale
