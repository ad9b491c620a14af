#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeScheduleRig.h"

namespace ambervale {
namespace {

using testing::FakeScheduleRig;

std::string Countdown(const char* time) { return std::string("Next log will occur in ") + time; }

TEST(ScheduleTick, DefaultSettingsCountDownFiveSecondsAndLogOnTheFifthTick) {
    FakeScheduleRig rig;
    rig.Load();
    const char* expected[] = {"00:00:04", "00:00:03", "00:00:02", "00:00:01", "00:00:00"};
    for (int tick = 1; tick <= 5; ++tick) {
        rig.Tick();
        EXPECT_EQ(rig.frame.caption, Countdown(expected[tick - 1])) << "tick " << tick;
        EXPECT_EQ(rig.bar.maximum, 5);
        EXPECT_EQ(rig.logger.entries, tick == 5 ? 1 : 0) << "tick " << tick;
        if (tick < 5) {
            EXPECT_EQ(rig.bar.position, tick);
        }
    }
    // After the entry: count and bar back at 0, timer running again, caption left at 00:00:00.
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 0);
    EXPECT_EQ(rig.bar.position, 0);
    EXPECT_TRUE(rig.timer.Running());
    rig.Tick();
    EXPECT_EQ(rig.frame.caption, Countdown("00:00:04"));
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(ScheduleTick, EveryTwentyFourHoursShowsAlmostADayOnTheFirstTick) {
    FakeScheduleRig rig;
    rig.settings.values["OftenIndex"] = "12";
    rig.Load();
    rig.Tick();
    EXPECT_EQ(rig.frame.caption, Countdown("23:59:59"));
    EXPECT_EQ(rig.bar.maximum, 86400);
    EXPECT_EQ(rig.bar.position, 1);
    EXPECT_EQ(rig.schedule.IntervalSeconds(), 86400);
}

// At every interval the entries come on the ticks that complete it, never a tick early or late.
TEST(ScheduleTick, EachIntervalLogsOnTheTickThatCompletesItAndNotBefore) {
    const struct {
        const char* row;
        int seconds;
        const char* firstCountdown;
    } cases[] = {
        {"1", 1, "00:00:00"},        {"2", 5, "00:00:04"},        {"3", 10, "00:00:09"},
        {"4", 30, "00:00:29"},       {"5", 60, "00:00:59"},       {"6", 300, "00:04:59"},
        {"7", 600, "00:09:59"},      {"8", 1800, "00:29:59"},     {"9", 3600, "00:59:59"},
        {"10", 21600, "05:59:59"},   {"11", 43200, "11:59:59"},   {"12", 86400, "23:59:59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("row ") + c.row);
        FakeScheduleRig rig;
        rig.settings.values["OftenIndex"] = c.row;
        rig.Load();
        rig.Tick();
        EXPECT_EQ(rig.frame.caption, Countdown(c.firstCountdown));
        for (int i = 1; i < c.seconds - 1; ++i) rig.Tick();
        EXPECT_EQ(rig.logger.entries, c.seconds == 1 ? 1 : 0) << "one tick before the interval ends";
        if (c.seconds > 1) rig.Tick();
        EXPECT_EQ(rig.logger.entries, 1) << "on the tick that completes the interval";
        for (int i = 0; i < c.seconds - 1; ++i) rig.Tick();
        EXPECT_EQ(rig.logger.entries, 1) << "one tick before the second interval ends";
        rig.Tick();
        EXPECT_EQ(rig.logger.entries, 2) << "on the tick that completes the second interval";
        EXPECT_TRUE(rig.timer.Running());
        EXPECT_TRUE(rig.boxes.shown.empty());
    }
}

TEST(ScheduleTick, SwitchingOffAndOnResumesTheCountdownWhereItStopped) {
    FakeScheduleRig rig;
    rig.Load();
    rig.Tick();
    rig.Tick();
    rig.schedule.PushButton5_Click();
    EXPECT_FALSE(rig.timer.Running());
    EXPECT_EQ(rig.frame.caption, Countdown("00:00:03"));
    for (int i = 0; i < 10; ++i) rig.Tick();
    rig.schedule.Timer1_Timer(); // a tick already queued when the timer stopped
    EXPECT_EQ(rig.frame.caption, "Automatic Log is Off.");

    rig.schedule.PushButton5_Click();
    rig.Tick();
    EXPECT_EQ(rig.frame.caption, Countdown("00:00:02"));
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 1);
    EXPECT_EQ(rig.settings.writes, (std::vector<std::pair<std::string, std::string>>{
                                       {"StartStopState", "Off"}, {"StartStopState", "On"}}));
}

TEST(ScheduleTick, ChoosingAnIntervalRestartsTheCountdownAndIsStored) {
    FakeScheduleRig rig;
    rig.Load();
    rig.Tick();
    rig.Tick();
    rig.Tick();
    rig.list.UserSelects(3);
    EXPECT_EQ(rig.settings.values["OftenIndex"], "3");
    EXPECT_EQ(rig.schedule.IntervalSeconds(), 10);
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 0);
    rig.Tick();
    EXPECT_EQ(rig.frame.caption, Countdown("00:00:09"));
}

TEST(ScheduleTick, AShorterIntervalBelowTheCountIsDueAtOnceNeverNegative) {
    FakeScheduleRig rig;
    rig.settings.values["OftenIndex"] = "3";
    rig.Load();
    for (int i = 0; i < 6; ++i) rig.Tick();
    rig.list.selected = 2; // changed without the window telling the schedule
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 1);
    EXPECT_EQ(rig.frame.caption, Countdown("00:00:00"));
    rig.Tick();
    EXPECT_EQ(rig.frame.caption, Countdown("00:00:04"));
}

TEST(ScheduleTick, WithoutASelectedIntervalNothingIsLoggedUntilOneIsChosen) {
    FakeScheduleRig rig;
    rig.settings.values["OftenIndex"] = "13";
    rig.Load();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    for (int i = 0; i < 100; ++i) rig.Tick();
    EXPECT_EQ(rig.logger.entries, 0);
    EXPECT_EQ(rig.frame.caption, "Select a logging interval from the list.");
    EXPECT_EQ(rig.settings.values["OftenIndex"], "13");

    rig.list.UserSelects(1);
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 1);
    EXPECT_EQ(rig.settings.values["OftenIndex"], "1");
    EXPECT_EQ(rig.boxes.shown.size(), 1u);
}

TEST(ScheduleTick, ClearingTheSelectionStopsEntriesAndKeepsTheStoredRow) {
    FakeScheduleRig rig;
    rig.Load();
    rig.list.UserSelects(4);
    rig.Tick();
    rig.list.UserSelects(std::nullopt);
    for (int i = 0; i < 60; ++i) rig.Tick();
    EXPECT_EQ(rig.logger.entries, 0);
    EXPECT_EQ(rig.frame.caption, "Select a logging interval from the list.");
    EXPECT_EQ(rig.settings.values["OftenIndex"], "4");
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(ScheduleTick, AFailedEntryIsReportedAndLoggingGoesOn) {
    FakeScheduleRig rig;
    rig.Load();
    rig.logger.failWith = "Printer not found";
    for (int i = 0; i < 5; ++i) rig.Tick();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].caption, "Application Error");
    EXPECT_EQ(rig.boxes.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(rig.boxes.shown[0].text,
              "Printer not found\r\nin Lumenquay2021/08/31.Form1.Timer1 at line 126\r\r"
              "Please email screenshot of this message to support@corvatek.example");
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 0);
    EXPECT_TRUE(rig.timer.Running());

    rig.logger.failWith.clear();
    for (int i = 0; i < 5; ++i) rig.Tick();
    EXPECT_EQ(rig.logger.entries, 2);
    EXPECT_EQ(rig.boxes.shown.size(), 1u);
}

// The DoEvents calls of a due tick, in order: 1 after the caption, 2 before the entry, 3 after it.
TEST(ScheduleTick, SwitchingOffDuringAnEntryStaysOff) {
    for (int point : {2, 3}) {
        SCOPED_TRACE("click at DoEvents " + std::to_string(point));
        FakeScheduleRig rig;
        rig.Load();
        for (int i = 0; i < 4; ++i) rig.Tick();
        rig.pump.calls = 0;
        rig.pump.onDoEvents = [&] {
            if (rig.pump.calls == point) rig.schedule.PushButton5_Click();
        };
        rig.Tick();
        rig.pump.onDoEvents = nullptr;

        EXPECT_EQ(rig.logger.entries, 1);
        EXPECT_FALSE(rig.timer.Running());
        EXPECT_EQ(rig.button.caption, "Turn On Automatic Log");
        EXPECT_EQ(rig.settings.values["StartStopState"], "Off");

        // One click brings it back, counting from 0.
        rig.schedule.PushButton5_Click();
        EXPECT_TRUE(rig.timer.Running());
        for (int i = 0; i < 5; ++i) rig.Tick();
        EXPECT_EQ(rig.logger.entries, 2);
    }
}

TEST(ScheduleTick, SwitchingOffAndOnDuringAnEntryKeepsLogging) {
    FakeScheduleRig rig;
    rig.Load();
    for (int i = 0; i < 4; ++i) rig.Tick();
    rig.logger.onLog = [&] {
        rig.schedule.PushButton5_Click();
        rig.schedule.PushButton5_Click();
        EXPECT_FALSE(rig.timer.Running()) << "ticks must not nest inside an entry";
    };
    rig.Tick();
    EXPECT_TRUE(rig.timer.Running());
    EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
}

TEST(ScheduleTick, ChoosingAnIntervalWhileTheCaptionIsShownCancelsTheDueEntry) {
    FakeScheduleRig rig;
    rig.Load();
    for (int i = 0; i < 4; ++i) rig.Tick();
    rig.pump.calls = 0;
    rig.pump.onDoEvents = [&] {
        if (rig.pump.calls == 1) rig.list.UserSelects(3);
    };
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 0);
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 0);
    EXPECT_EQ(rig.schedule.IntervalSeconds(), 10);
    EXPECT_TRUE(rig.timer.Running());
}

} // namespace
} // namespace ambervale
