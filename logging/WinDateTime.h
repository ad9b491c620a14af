#pragma once
#include "logging/DateTimeText.h"

namespace ambervale {

// The local time of the machine (GetLocalTime), to the second.
class WinClock final : public Clock {
public:
    LocalDateTime Now() override;
};

// The user's short date and long time patterns (GetDateFormatA, GetTimeFormatA), in the system's ANSI code page.
class WinDateTimeText final : public DateTimeText {
public:
    std::string ShortDate(const LocalDateTime& when) override;
    std::string LongTime(const LocalDateTime& when) override;
};

} // namespace ambervale
