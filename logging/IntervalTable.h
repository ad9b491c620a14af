#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace ambervale {

// One row of the interval list: its caption, and how many one-second ticks it waits.
struct IntervalChoice {
    std::string_view caption;
    std::int32_t seconds;
};

// The rows in list order; a row's 1-based position is the number stored under "OftenIndex".
inline constexpr std::array<IntervalChoice, 12> kIntervalTable{{
    {"Log every 1 second", 1},
    {"Log every 5 seconds", 5},
    {"Log every 10 seconds", 10},
    {"Log every 30 seconds", 30},
    {"Log every 1 minute", 60},
    {"Log every 5 minutes", 300},
    {"Log every 10 minutes", 600},
    {"Log every 30 minutes", 1800},
    {"Log every 1 hour", 3600},
    {"Log every 6 hours", 21600},
    {"Log every 12 hours", 43200},
    {"Log every 24 hours", 86400},
}};

// The seconds of the row whose caption is exactly this text (letter case included), 0 when none is.
constexpr std::int32_t IntervalSecondsOfCaption(std::string_view caption) {
    for (const IntervalChoice& row : kIntervalTable) {
        if (row.caption == caption) return row.seconds;
    }
    return 0;
}

} // namespace ambervale
