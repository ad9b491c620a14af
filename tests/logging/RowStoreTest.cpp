#include "logging/RowStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fakes/FakeLogEntryServices.h"

namespace ambervale {
namespace {

const std::string kReport =
    "Printer Status = Ready; Printer Name = Front Desk 2; Printer Driver Name = HP LaserJet 4050 PCL6; "
    "Printer Port Name = 192.168.1.20; ";

std::string Shown(const RowStore& rows, std::size_t i) {
    std::string text = "left over from before";
    rows.Render(i, text);
    return text;
}

// An en-US clock text for the given second of a day: "12/6/2026 8:15:04 PM".
std::string UsClockText(int second) {
    const int hour = second / 3600 % 24;
    char text[32];
    std::snprintf(text, sizeof text, "12/6/2026 %d:%02d:%02d %s", hour % 12 == 0 ? 12 : hour % 12,
                  second / 60 % 60, second % 60, hour < 12 ? "AM" : "PM");
    return text;
}

struct Logged {
    std::string dateTime;
    std::string report;
};

TEST(RowStore, EveryKindOfRowReadsBackExactlyAsItWasLogged) {
    const std::vector<Logged> cases = {
        {"12/6/2026 8:15:04 PM", kReport},
        {"12/6/2026 8:15:05 PM", kReport},
        {"12/7/2026", ""},                                     // midnight, and a failed query
        {"", kReport},                                         // no date-time text at all
        {"06.12.2026 20:15:04", kReport},                      // another regional format
        {"2026\x94\x4e" "12\x8c\x8e" "6\x93\xfa 20:15:04", kReport},  // ANSI bytes of a double-byte code page
        {"12345678 90123456", kReport},                        // as many digits as a row holds
        {"123456789 01234567", kReport},                       // one digit more: kept whole
        {"12/6/2026 \x01" "8:15:04", kReport},                 // the byte that marks a digit in a pattern
        {"12/6/2026 8:15:04 PM", "Printer Name = A\x01" "7; "},
        {"12/6/2026 8:15:06 PM", std::string(20000, 'x') + "9; "},  // longer than a block of patterns
    };
    RowStore rows;
    for (const Logged& c : cases) EXPECT_TRUE(rows.Append(c.dateTime, c.report));
    ASSERT_EQ(rows.Size(), cases.size());
    // Read back only once everything is in, so no later row can have disturbed an earlier one.
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(Shown(rows, i), cases[i].dateTime + " " + cases[i].report) << "row " << i;
    }
}

TEST(RowStore, ARowKeepsTheRegionalFormatOfItsOwnMoment) {
    RowStore rows;
    rows.Append("12/6/2026 8:15:04 PM", kReport);
    rows.Append("06.12.2026 20:15:05", kReport);  // the user changed the format during the run
    rows.Append("2026-12-06 20:15:06", kReport);
    rows.Append("12/6/2026 8:15:07 PM", kReport);  // and back
    EXPECT_EQ(Shown(rows, 0), "12/6/2026 8:15:04 PM " + kReport);
    EXPECT_EQ(Shown(rows, 1), "06.12.2026 20:15:05 " + kReport);
    EXPECT_EQ(Shown(rows, 2), "2026-12-06 20:15:06 " + kReport);
    EXPECT_EQ(Shown(rows, 3), "12/6/2026 8:15:07 PM " + kReport);
}

TEST(RowStore, AReportThatChangesAtEveryRowKeepsEachOne) {
    RowStore rows;
    // Past the number of patterns the store remembers for reuse, and back to the first report again.
    const int kRows = 10000;
    auto report = [](int i) { return "Printer Name = Queue " + std::to_string(i % 9000) + "; "; };
    for (int i = 0; i < kRows; ++i) ASSERT_TRUE(rows.Append(UsClockText(i), report(i)));
    for (int i = 0; i < kRows; ++i) ASSERT_EQ(Shown(rows, i), UsClockText(i) + " " + report(i)) << "row " << i;
}

TEST(RowStore, AMillionRowsOfTheSameReportCostTwelveBytesEach) {
    RowStore rows;
    const int kRows = 1 << 20;  // twelve days of one-second entries
    for (int i = 0; i < kRows; ++i) rows.Append(UsClockText(i), kReport);
    ASSERT_EQ(rows.Size(), static_cast<std::size_t>(kRows));
    for (int i = 0; i < kRows; i += 997) ASSERT_EQ(Shown(rows, i), UsClockText(i) + " " + kReport) << "row " << i;
    EXPECT_EQ(Shown(rows, kRows - 1), UsClockText(kRows - 1) + " " + kReport);
    EXPECT_LE(static_cast<double>(rows.BytesHeld()) / kRows, 12.2);

    rows.Clear();
    EXPECT_EQ(rows.Size(), 0u);
    EXPECT_LT(rows.BytesHeld(), 64u) << "clearing gives the memory back";
    rows.Append("12/7/2026", "");
    EXPECT_EQ(Shown(rows, 0), "12/7/2026 ");
}

TEST(RowStore, PastItsLimitRowsAreNotKeptAndNothingFails) {
    RowStore rows(3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(rows.Append(UsClockText(i), kReport));
    EXPECT_FALSE(rows.Append(UsClockText(3), kReport));
    EXPECT_FALSE(rows.Append("odd 1234567890123456789012345", "whole"));
    ASSERT_EQ(rows.Size(), 3u);
    EXPECT_EQ(Shown(rows, 2), UsClockText(2) + " " + kReport);

    rows.Clear();
    EXPECT_TRUE(rows.Append(UsClockText(9), kReport));
    EXPECT_EQ(Shown(rows, 0), UsClockText(9) + " " + kReport);
}

TEST(RowStore, AFullListStillLetsEveryEntryReachTheHistoryFile) {
    testing::FakeLogEntryWorld world;
    world.clock.times = {{2026, 12, 6, 20, 15, 4}};
    RowStore rows(2);
    testing::ListAndFileLogger entries(world.spooler, world.clock, world.dateTimeText, rows, world.historyWriter,
                                       world.historyPath);
    for (int i = 0; i < 4; ++i) EXPECT_NO_THROW(entries.LogStatusNow());

    const std::string line = "D2026-12-6 T20:15:4 Printer Status = Ready; Printer Name = Front Desk; "
                             "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; ";
    EXPECT_EQ(world.historyWriter.files["C:\\Temp\\Ambervale.txt"],
              line + "\r\n" + line + "\r\n" + line + "\r\n" + line + "\r\n");
    ASSERT_EQ(rows.Size(), 2u);
    EXPECT_EQ(Shown(rows, 0), line);
    EXPECT_EQ(Shown(rows, 1), line);
}

} // namespace
} // namespace ambervale
