#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "logging/Countdown.h"
#include "logging/StoredNumber.h"
#include "base/AppError.h"

namespace ambervale {
namespace {

struct CountdownCase {
    std::int32_t seconds;
    const char* text;
};

TEST(FormatCountdown, ShowsTheSecondsAsATimeOfDay) {
    const CountdownCase cases[] = {
        {0, "00:00:00"},     {1, "00:00:01"},     {59, "00:00:59"},    {60, "00:01:00"},
        {3599, "00:59:59"},  {3600, "01:00:00"},  {43199, "11:59:59"}, {86399, "23:59:59"},
        {86400, "00:00:00"}, {90061, "01:01:01"}, {std::numeric_limits<std::int32_t>::max(), "03:14:07"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatCountdown(c.seconds), c.text) << c.seconds;
}

TEST(FormatCountdown, NeverShowsTimePastTheEnd) {
    EXPECT_EQ(FormatCountdown(-1), "00:00:00");
    EXPECT_EQ(FormatCountdown(-86399), "00:00:00");
    EXPECT_EQ(FormatCountdown(std::numeric_limits<std::int32_t>::min()), "00:00:00");
}

TEST(StoredTextToInt16, ReadsNumbersAsTheyHaveAlwaysBeenRead) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"2", 2},          {"12", 12},         {" 3", 3},   {"3 ", 3},   {"\t7\t", 7},
        {"+5", 5},         {"-1", -1},         {"0", 0},    {"-0", 0},   {"007", 7},
        {"32767", 32767},  {"-32768", -32768}, {"000000000000000000000000012", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(StoredTextToInt16(c.text), c.value) << '"' << c.text << '"';
}

std::string DescriptionOfFailure(const std::string& text) {
    try {
        StoredTextToInt16(text);
    } catch (const AppError& e) {
        return e.what();
    }
    return "no failure";
}

TEST(StoredTextToInt16, RejectsTextThatIsNoNumberOrTooLarge) {
    const struct {
        std::string text;
        const char* description;
    } cases[] = {
        {"", "Type mismatch"},
        {" ", "Type mismatch"},
        {"abc", "Type mismatch"},
        {"-", "Type mismatch"},
        {"+-1", "Type mismatch"},
        {"3a", "Type mismatch"},
        {"1 2", "Type mismatch"},
        {"3.5", "Type mismatch"},
        {"99999999999x", "Type mismatch"},
        {std::string(10240, 'x'), "Type mismatch"},
        {"32768", "Overflow"},
        {"-32769", "Overflow"},
        {"99999999999", "Overflow"},
        {std::string(10240, '9'), "Overflow"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DescriptionOfFailure(c.text), c.description) << '"' << c.text.substr(0, 20) << '"';
    }
}

} // namespace
} // namespace ambervale
