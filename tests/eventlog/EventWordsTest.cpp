#include "eventlog/EventWords.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ambervale {
namespace {

TEST(EventStatus, EveryWordAndSomeCombinationsHaveTheirTextAndLevel) {
    constexpr EventLevel kError = EventLevel::Error;
    constexpr EventLevel kWarning = EventLevel::Warning;
    constexpr EventLevel kNone = EventLevel::Information;
    const struct {
        std::uint32_t status;
        const char* text;
        EventLevel level;
    } cases[] = {
        {0x0, "Ready", kNone},
        {0x200, "Busy", kNone},
        {0x400000, "Printer Door Open", kError},
        {0x2, "Printer Error", kError},
        {0x8000, "Initializing", kNone},
        {0x100, "I/O Active", kNone},
        {0x20, "Manual Feed", kWarning},
        {0x40000, "No Toner", kError},
        {0x1000, "Not Available", kError},
        {0x80, "Off Line", kError},
        {0x200000, "Out of Memory", kError},
        {0x800, "Output Bin Full", kError},
        {0x80000, "Page Punt", kError},
        {0x8, "Paper Jam", kError},
        {0x10, "Paper Out", kError},
        {0x40, "Page Problem", kError},
        {0x1, "Paused", kWarning},
        {0x4, "Pending Deletion", kWarning},
        {0x400, "Printing", kNone},
        {0x4000, "Processing", kNone},
        {0x20000, "Toner Low", kWarning},
        {0x100000, "User Intervention", kError},
        {0x2000, "Waiting", kNone},
        {0x10000, "Warming Up", kNone},
        {0x800000, "Unknown Status of 8388608", kError},
        {0x80000000, "Unknown Status of -2147483648", kError},
        // Several words keep the line's order, and the worst level.
        {0x11, "Paper Out, Paused", kError},
        {0x20401, "Paused, Printing, Toner Low", kWarning},
        // A bit without a word beside one with a word is not shown, and does not count.
        {0x80000400, "Printing", kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EventStatusText(c.status), c.text);
        EXPECT_EQ(StatusLevel(c.status), c.level);
    }
}

TEST(DurationText, TheTwoLargestUnits) {
    const struct {
        std::int64_t seconds;
        const char* text;
    } cases[] = {
        {-5, "0 s"},         {0, "0 s"},          {1, "1 s"},           {59, "59 s"},
        {60, "1 min"},       {61, "1 min 1 s"},   {720, "12 min"},      {3599, "59 min 59 s"},
        {3600, "1 h"},       {3659, "1 h"},       {7980, "2 h 13 min"}, {8039, "2 h 13 min"},
        {86399, "23 h 59 min"}, {86400, "1 d"},   {86400 + 3600 * 4 + 59, "1 d 4 h"},
        {86400LL * 400, "400 d"},
    };
    for (const auto& c : cases) EXPECT_EQ(DurationText(c.seconds), c.text) << c.seconds;
}

} // namespace
} // namespace ambervale
