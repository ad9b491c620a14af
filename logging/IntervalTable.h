#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "base/Policy.h"

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

// The LogInterval policy takes exactly the list's seconds.
constexpr bool PolicyTakesTheListsIntervals() {
    for (std::size_t i = 0; i < kIntervalTable.size(); ++i) {
        if (static_cast<std::uint32_t>(kIntervalTable[i].seconds) != kPolicyIntervalSeconds[i]) return false;
    }
    return kIntervalTable.size() == kPolicyIntervalSeconds.size();
}
static_assert(PolicyTakesTheListsIntervals());

// The 1-based position of the row of these seconds, 0 when no row has them.
constexpr int PositionOfSeconds(std::int32_t seconds) {
    for (std::size_t i = 0; i < kIntervalTable.size(); ++i) {
        if (kIntervalTable[i].seconds == seconds) return static_cast<int>(i) + 1;
    }
    return 0;
}

// The seconds of the row whose caption is exactly this text (letter case included), 0 when none is.
constexpr std::int32_t IntervalSecondsOfCaption(std::string_view caption) {
    for (const IntervalChoice& row : kIntervalTable) {
        if (row.caption == caption) return row.seconds;
    }
    return 0;
}

} // namespace ambervale
