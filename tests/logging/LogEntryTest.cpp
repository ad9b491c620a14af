#include "logging/LogEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeLogEntryServices.h"

namespace ambervale {
namespace {

using testing::FakeDateTimeText;
using testing::FakeLogEntryWorld;
using Rows = std::vector<std::string>;

const std::string kPath = "C:\\Temp\\Ambervale.txt";
constexpr LocalDateTime kEvening{2026, 12, 6, 20, 15, 4};

TEST(GeneralDateText, DateAndTimeExceptAtExactlyMidnight) {
    FakeDateTimeText text;
    EXPECT_EQ(GeneralDateText(text, kEvening), "D2026-12-6 T20:15:4");
    EXPECT_EQ(GeneralDateText(text, {2026, 12, 7, 0, 0, 0}), "D2026-12-7");
    EXPECT_EQ(GeneralDateText(text, {2026, 12, 7, 0, 0, 1}), "D2026-12-7 T0:0:1");
    EXPECT_EQ(GeneralDateText(text, {2026, 12, 7, 0, 1, 0}), "D2026-12-7 T0:1:0");
    EXPECT_EQ(GeneralDateText(text, {2026, 12, 7, 12, 0, 0}), "D2026-12-7 T12:0:0");
}

TEST(ComposeLogLine, JoinsTheReportLinesWithSemicolons) {
    EXPECT_EQ(ComposeLogLine("12/6/2026 8:15:04 PM",
                             "Printer Status = Paused  \r\nPrinter Name = Front Desk\r\n"
                             "Printer Driver Name = Generic Laser\r\nPrinter Port Name = LPT1:\r\n"),
              "12/6/2026 8:15:04 PM Printer Status = Paused  ; Printer Name = Front Desk; "
              "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; ");
    EXPECT_EQ(ComposeLogLine("12/7/2026", ""), "12/7/2026 ");
}

TEST(ComposeLogLine, StrayLineBreaksCannotSplitTheLine) {
    EXPECT_EQ(ComposeLogLine("d", "Printer Name = A\rB\nC\n\r\r\n"), "d Printer Name = A B C  ; ");
}

TEST(AppendToHistory, WritesTheLineAndCrLfInOneAppend) {
    testing::FakeHistoryWriter writer;
    writer.files[kPath] = "from an earlier run\r\n";
    AppendToHistory(writer, kPath, "line");
    EXPECT_EQ(writer.appends, 1);
    EXPECT_EQ(writer.files[kPath], "from an earlier run\r\nline\r\n");
}

TEST(LogStatusNow, AddsTheRowAndAppendsTheLine) {
    FakeLogEntryWorld world;
    world.spooler.record.status = 0x1;
    world.clock.times = {kEvening};
    LogStatusNow(world.services, kPath);

    const std::string line =
        "D2026-12-6 T20:15:4 Printer Status = Paused  ; Printer Name = Front Desk; "
        "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; ";
    EXPECT_EQ(world.logList.rows, Rows{line});
    EXPECT_EQ(world.logList.dateTimeTexts, Rows{"D2026-12-6 T20:15:4"}) << "the list is told where the time ends";
    EXPECT_EQ(world.historyWriter.files[kPath], line + "\r\n");
    EXPECT_EQ(world.spooler.closeCount, 1);
}

TEST(LogStatusNow, RowAndFileLineCarryTheirOwnClockReadings) {
    FakeLogEntryWorld world;
    world.clock.times = {{2026, 12, 6, 23, 59, 59}, {2026, 12, 7, 0, 0, 0}};
    world.spooler.failOpen = true;
    LogStatusNow(world.services, kPath);
    EXPECT_EQ(world.clock.reads, 2);
    EXPECT_EQ(world.logList.rows, Rows{"D2026-12-6 T23:59:59 "});
    EXPECT_EQ(world.historyWriter.files[kPath], "D2026-12-7 \r\n");
}

TEST(LogStatusNow, AFailedQueryStillMakesTheEntry) {
    FakeLogEntryWorld world;
    world.clock.times = {kEvening};
    world.spooler.probeError = 5;
    LogStatusNow(world.services, kPath);
    EXPECT_EQ(world.logList.rows, Rows{"D2026-12-6 T20:15:4 "});
    EXPECT_EQ(world.logList.dateTimeTexts, Rows{"D2026-12-6 T20:15:4"});
    EXPECT_EQ(world.historyWriter.files[kPath], "D2026-12-6 T20:15:4 \r\n");
}

TEST(LogStatusNow, NoDefaultPrinterMakesNothingAndReachesTheCaller) {
    FakeLogEntryWorld world;
    world.spooler.defaultPrinter.reset();
    EXPECT_THROW(LogStatusNow(world.services, kPath), AppError);
    EXPECT_TRUE(world.logList.rows.empty());
    EXPECT_EQ(world.historyWriter.appends, 0);
    EXPECT_TRUE(world.historyWriter.files.empty());
}

TEST(LogStatusNow, AFailedAppendKeepsTheRowAndTheNextEntryTriesAgain) {
    FakeLogEntryWorld world;
    world.clock.times = {{2026, 1, 2, 3, 4, 5}, {2026, 1, 2, 3, 4, 5}, {2026, 1, 2, 3, 4, 6}};
    world.historyWriter.failing = true;
    try {
        LogStatusNow(world.services, kPath);
        ADD_FAILURE() << "the failed append did not reach the caller";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Path not found");
    }
    EXPECT_EQ(world.logList.rows.size(), 1u);
    EXPECT_TRUE(world.historyWriter.files.empty());

    world.historyWriter.failing = false;
    LogStatusNow(world.services, kPath);
    EXPECT_EQ(world.logList.rows.size(), 2u);
    EXPECT_EQ(world.historyWriter.appends, 2);
    EXPECT_EQ(world.historyWriter.files[kPath].substr(0, 20), "D2026-1-2 T3:4:6 Pri");
    EXPECT_EQ(world.spooler.closeCount, 2);
}

} // namespace
} // namespace ambervale
