// The Event Log as the program wires it: an output of the log, after the list and the history file.
#include "eventlog/EventLogOutput.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeEventLog.h"
#include "fakes/FakeLogEntryServices.h"

namespace ambervale {
namespace {

using Events = std::vector<Event>;
using testing::FakeEventWriter;
using testing::FakeLogEntryWorld;
using testing::FakeSecondsClock;

// The world of one entry with the Event Log as its third output.
struct EventLogWorld {
    EventLogWorld() {
        world.entries.logger.AddOutput(output);
        world.clock.times = {{2026, 12, 6, 20, 15, 4}};
    }
    void Entry() { world.entries.LogStatusNow(); }

    FakeLogEntryWorld world;
    FakeEventWriter writer;
    FakeSecondsClock seconds;
    EventLogOutput output{writer, seconds};
};

TEST(EventLogOutput, AnEntryThatChangesNothingMakesNoEventLogCallAtAll) {
    EventLogWorld w;
    w.world.entries.logger.LoggingSwitched(true, "Log every 1 second");
    w.Entry();
    ASSERT_EQ(w.writer.calls, 1);
    EXPECT_EQ(w.writer.events, (Events{{EventId::LoggingStarted, EventLevel::Information,
                                        {"Front Desk", "Ready", "Log every 1 second"}}}));
    for (int second = 1; second <= 1000; ++second) {
        w.seconds.now = second;
        w.Entry();
    }
    EXPECT_EQ(w.writer.calls, 1);

    w.seconds.now = 1060;
    w.world.spooler.record.attributes = 0x400;  // Work Offline
    w.Entry();
    EXPECT_EQ(w.writer.calls, 2);
    EXPECT_EQ(w.writer.events.back(),
              (Event{EventId::StatusProblem, EventLevel::Error,
                     {"Front Desk", "Off Line", "Ready", "1060", "17 min 40 s", "Generic Laser", "LPT1:", ""}}));
}

TEST(EventLogOutput, WritesNothingWhileAutomaticLoggingIsOff) {
    EventLogWorld w;
    w.Entry();
    w.world.spooler.defaultPrinter.reset();
    EXPECT_THROW(w.Entry(), AppError);
    w.world.entries.logger.LoggingSwitched(false, "Log every 5 seconds");
    EXPECT_EQ(w.writer.calls, 0);
    EXPECT_EQ(w.seconds.reads, 0);
}

TEST(EventLogOutput, NoDefaultPrinterAndASilentSpoolerAreOutages) {
    EventLogWorld w;
    w.world.entries.logger.LoggingSwitched(true, "Log every 1 second");
    w.Entry();
    w.world.spooler.defaultPrinter.reset();
    w.seconds.now = 10;
    EXPECT_THROW(w.Entry(), AppError);
    w.world.spooler.defaultPrinter = "Front Desk";
    w.world.spooler.failOpen = true;
    w.seconds.now = 20;
    w.Entry();
    w.world.spooler.failOpen = false;
    w.seconds.now = 30;
    w.Entry();
    ASSERT_EQ(w.writer.events.size(), 3u);
    EXPECT_EQ(w.writer.events[1], (Event{EventId::EntriesFail, EventLevel::Error, {"No default printer"}}));
    EXPECT_EQ(w.writer.events[2], (Event{EventId::EntriesWorkAgain, EventLevel::Information,
                                         {"Front Desk", "Ready", "20", "20 s"}}));

    w.world.spooler.failOpen = true;
    w.seconds.now = 40;
    w.Entry();
    EXPECT_EQ(w.writer.events.back(),
              (Event{EventId::EntriesFail, EventLevel::Error,
                     {"The print spooler did not report on the default printer"}}));
}

TEST(EventLogOutput, ARefusedEventReachesTheEntrysErrorBoxOnlyWhenItHasOne) {
    EventLogWorld w;
    w.writer.failure = "The event log file is full.";
    w.world.entries.logger.LoggingSwitched(true, "Log every 1 second");
    EXPECT_EQ(w.writer.calls, 1) << "the start, refused quietly: a switch has no box";
    w.world.spooler.record.attributes = 0x400;  // Work Offline: a change, which the entry's box tells of
    try {
        w.Entry();
        ADD_FAILURE() << "the refused event did not reach the caller";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "The event log file is full.");
    }
    EXPECT_EQ(w.world.historyWriter.appends, 1) << "the outputs before it took the entry";

    w.world.spooler.defaultPrinter.reset();
    try {
        w.Entry();
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "No default printer") << "the entry's own failure is the one reported";
    }
    w.world.entries.logger.LoggingSwitched(false, "Log every 1 second");
    EXPECT_EQ(w.writer.calls, 4);
}

} // namespace
} // namespace ambervale

namespace ambervale {
namespace {

TEST(EventLogOutput, TheStartIsWrittenWhenLoggingIsSwitchedOnWithoutALineOfItsOwn) {
    EventLogWorld w;
    auto& logger = w.world.entries.logger;
    // The program's load switches logging on before its window shows: the question waits for the window.
    logger.HoldStartQuestion(true);
    logger.LoggingSwitched(true, "Log every 24 hours");
    EXPECT_EQ(w.world.worker.waits, 0);
    logger.HoldStartQuestion(false);
    EXPECT_EQ(w.writer.events, (Events{{EventId::LoggingStarted, EventLevel::Information,
                                        {"Front Desk", "Ready", "Log every 24 hours"}}}));
    EXPECT_TRUE(w.world.logList.rows.empty());
    EXPECT_EQ(w.world.historyWriter.appends, 0);
    logger.LoggingSwitched(true, "Log every 5 seconds");
    EXPECT_EQ(w.world.worker.waits, 1) << "another interval while on is no start: nothing is asked";

    // A start that cannot see the printer says why, and its outage begins with it.
    logger.LoggingSwitched(false, "");
    w.world.spooler.defaultPrinter.reset();
    logger.LoggingSwitched(true, "Log every 24 hours");
    ASSERT_EQ(w.writer.events.size(), 4u);
    EXPECT_EQ(w.writer.events[2], (Event{EventId::LoggingStarted, EventLevel::Information,
                                         {"(unknown)", "No default printer", "Log every 24 hours"}}));
    EXPECT_EQ(w.writer.events[3].id, EventId::EntriesFail);
}

TEST(EventLogOutput, AnEntryMadeWhileTheStartIsAskedKeepsItsLineAndTellsTheStartItself) {
    EventLogWorld w;
    w.world.worker.whileWaiting = [&] {
        w.world.worker.whileWaiting = nullptr;
        w.world.spooler.record.attributes = 0x400;  // Work Offline by the time the tick asks
        w.Entry();
    };
    w.world.entries.logger.LoggingSwitched(true, "Log every 1 second");
    EXPECT_EQ(w.world.logList.rows.size(), 1u);
    EXPECT_EQ(w.writer.events, (Events{{EventId::LoggingStarted, EventLevel::Information,
                                        {"Front Desk", "Off Line", "Log every 1 second"}}}))
        << "the start's own answer came later and is older news";
}

} // namespace
} // namespace ambervale
