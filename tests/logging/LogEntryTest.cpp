#include "logging/LogEntry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
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

TEST(LogStatusNow, AddsTheRowAndAppendsTheLine) {
    FakeLogEntryWorld world;
    world.spooler.record.status = 0x1;
    world.clock.times = {kEvening};
    world.entries.LogStatusNow();

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
    world.entries.LogStatusNow();
    EXPECT_EQ(world.clock.reads, 2);
    EXPECT_EQ(world.logList.rows, Rows{"D2026-12-6 T23:59:59 "});
    EXPECT_EQ(world.historyWriter.files[kPath], "D2026-12-7 \r\n");
}

TEST(LogStatusNow, AFailedQueryStillMakesTheEntry) {
    FakeLogEntryWorld world;
    world.clock.times = {kEvening};
    world.spooler.probeError = 5;
    world.entries.LogStatusNow();
    EXPECT_EQ(world.logList.rows, Rows{"D2026-12-6 T20:15:4 "});
    EXPECT_EQ(world.logList.dateTimeTexts, Rows{"D2026-12-6 T20:15:4"});
    EXPECT_EQ(world.historyWriter.files[kPath], "D2026-12-6 T20:15:4 \r\n");
}

TEST(LogStatusNow, NoDefaultPrinterMakesNothingAndReachesTheCaller) {
    FakeLogEntryWorld world;
    world.spooler.defaultPrinter.reset();
    EXPECT_THROW(world.entries.LogStatusNow(), AppError);
    EXPECT_TRUE(world.logList.rows.empty());
    EXPECT_EQ(world.historyWriter.appends, 0);
    EXPECT_TRUE(world.historyWriter.files.empty());
}

TEST(LogStatusNow, AFailedAppendKeepsTheRowAndTheNextEntryTriesAgain) {
    FakeLogEntryWorld world;
    world.clock.times = {{2026, 1, 2, 3, 4, 5}, {2026, 1, 2, 3, 4, 5}, {2026, 1, 2, 3, 4, 6}};
    world.historyWriter.failing = true;
    try {
        world.entries.LogStatusNow();
        ADD_FAILURE() << "the failed append did not reach the caller";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Path not found");
    }
    EXPECT_EQ(world.logList.rows.size(), 1u);
    EXPECT_TRUE(world.historyWriter.files.empty());

    world.historyWriter.failing = false;
    world.entries.LogStatusNow();
    EXPECT_EQ(world.logList.rows.size(), 2u);
    EXPECT_EQ(world.historyWriter.appends, 2);
    EXPECT_EQ(world.historyWriter.files[kPath].substr(0, 20), "D2026-1-2 T3:4:6 Pri");
    EXPECT_EQ(world.spooler.closeCount, 2);
}

// Writes down each entry it takes, in one journal shared by all outputs; may be told to fail.
class JournalOutput : public LogOutput {
public:
    JournalOutput(std::string name, std::vector<std::string>& journal) : name_(std::move(name)), journal_(journal) {}
    void Write(const LogEntry& entry) override {
        journal_.push_back(name_ + ": " + entry.dateTimeText + " | " + entry.reportLine);
        if (failure) throw AppError(*failure);
    }
    void EntryFailed(const std::string& description) noexcept override {
        journal_.push_back(name_ + " failed: " + description);
    }
    std::optional<std::string> failure;

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

TEST(EntryOutputs, EachTakesTheSameEntryInTheOrderWiredAndAFailureStopsNoneOfTheOthers) {
    FakeLogEntryWorld world;
    world.clock.times = {kEvening};
    world.spooler.failOpen = true;
    std::vector<std::string> journal;
    JournalOutput first("first", journal), second("second", journal), third("third", journal);
    second.failure = "Disk full";
    third.failure = "Permission denied";
    EntryLogger logger(world.spooler, world.clock, world.dateTimeText);
    logger.AddOutput(first);
    logger.AddOutput(second);
    logger.AddOutput(third);
    try {
        logger.LogStatusNow();
        ADD_FAILURE() << "the failures did not reach the caller";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Disk full") << "the first failure is the one reported";
    }
    EXPECT_EQ(journal, (Rows{"first: D2026-12-6 T20:15:4 | ", "second: D2026-12-6 T20:15:4 | ",
                             "third: D2026-12-6 T20:15:4 | "}));
    EXPECT_EQ(world.clock.reads, 1) << "the entry is made once for all outputs";

    world.spooler.defaultPrinter.reset();
    journal.clear();
    EXPECT_THROW(logger.LogStatusNow(), AppError);
    EXPECT_EQ(journal, (Rows{"first failed: No default printer", "second failed: No default printer",
                             "third failed: No default printer"}))
        << "no default printer: no output takes an entry, each is told why";
}

} // namespace
} // namespace ambervale
