#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeScheduleRig.h"

namespace ambervale {
namespace {

using testing::FakeScheduleRig;
using Writes = std::vector<std::pair<std::string, std::string>>;

std::string ButtonBox(const char* description, const char* handler, int step) {
    return std::string(description) + "\r\nin Lumenquay2021/08/31.Form1." + handler + " at line " +
           std::to_string(step) + "\r\rPlease email screenshot of this message to support@corvatek.example";
}

TEST(PushButton5Click, SwitchesOnOffAndRemembersIt) {
    const struct {
        const char* before;
        int periodBefore;
        const char* after;
        int periodAfter;
        Writes writes;
    } cases[] = {
        {"Turn On Automatic Log", 0, "Turn Off Automatic Log", 1000, {{"StartStopState", "On"}}},
        {"Turn Off Automatic Log", 1000, "Turn On Automatic Log", 0, {{"StartStopState", "Off"}}},
        {"Turn On Automatic Logging", 0, "Turn On Automatic Logging", 0, {}},
        {"turn on automatic log", 0, "turn on automatic log", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        FakeScheduleRig rig;
        rig.button.caption = c.before;
        rig.timer.period = c.periodBefore;
        rig.schedule.PushButton5_Click();
        EXPECT_EQ(rig.button.caption, c.after);
        EXPECT_EQ(rig.timer.period, c.periodAfter);
        EXPECT_EQ(rig.settings.writes, c.writes);
        EXPECT_TRUE(rig.boxes.shown.empty());
    }
}

TEST(PushButton5Click, AFailedSaveIsReportedButTheSwitchStillHappens) {
    FakeScheduleRig off;
    off.button.caption = "Turn Off Automatic Log";
    off.timer.period = 1000;
    off.settings.failWrites = true;
    off.schedule.PushButton5_Click();
    ASSERT_EQ(off.boxes.shown.size(), 1u);
    EXPECT_EQ(off.boxes.shown[0].text, ButtonBox("Cannot write the setting", "PushButton5_Click", 114));
    EXPECT_EQ(off.timer.period, 0);
}

TEST(PushButton6Click, LogsNowUnderTheHourglassWithoutTouchingTheCount) {
    FakeScheduleRig rig;
    rig.Load();
    rig.Tick();
    rig.Tick();
    bool pumpedBeforeEntry = false;
    rig.pump.onDoEvents = [&] { pumpedBeforeEntry = rig.logger.entries == 0; };
    PointerKind pointerDuringEntry = PointerKind::Default;
    rig.logger.onLog = [&] { pointerDuringEntry = rig.pointer.pointer; };

    rig.schedule.PushButton6_Click();
    EXPECT_TRUE(pumpedBeforeEntry);
    EXPECT_EQ(rig.logger.entries, 1);
    EXPECT_EQ(pointerDuringEntry, PointerKind::Hourglass);
    EXPECT_EQ(rig.pointer.pointer, PointerKind::Default);
    EXPECT_EQ(rig.bar.position, 0);
    EXPECT_EQ(rig.bar.text, "Progress Bar");
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 2);

    rig.Tick();
    EXPECT_EQ(rig.bar.position, 3);
}

TEST(PushButton6Click, AFailedEntryIsReportedAndThePointerIsRestored) {
    FakeScheduleRig rig;
    rig.logger.failWith = "Printer not found";
    rig.bar.position = 3;
    rig.schedule.PushButton6_Click();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, ButtonBox("Printer not found", "PushButton6_Click", 104));
    EXPECT_EQ(rig.pointer.history, (std::vector<PointerKind>{PointerKind::Hourglass, PointerKind::Default}));
    EXPECT_EQ(rig.bar.position, 0);
}

TEST(ListView2Click, AFailedSaveShowsNothingAndTheNewIntervalStillApplies) {
    FakeScheduleRig rig;
    rig.Load();
    rig.Tick();
    rig.settings.failWrites = true;
    rig.list.UserSelects(1);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_EQ(rig.schedule.IntervalSeconds(), 1);
    EXPECT_EQ(rig.schedule.ElapsedSeconds(), 0);
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 1);
}

TEST(GetIntervalSeconds, MatchesTheRowTextExactly) {
    FakeScheduleRig rig;
    rig.list.rows = {"Log every 30 minutes", "log every 30 minutes", "Log every 30 minutes ", ""};
    const std::pair<int, int> cases[] = {{1, 1800}, {2, 0}, {3, 0}, {4, 0}};
    for (auto [row, seconds] : cases) {
        rig.list.selected = row;
        EXPECT_EQ(rig.schedule.GetIntervalSeconds(), seconds) << "row " << row;
    }
    rig.list.selected.reset();
    EXPECT_EQ(rig.schedule.GetIntervalSeconds(), 0);
}

TEST(LoggingSwitches, TheLoggerHearsOfEachSwitchWithTheIntervalInUse) {
    FakeScheduleRig rig;
    rig.Load();  // first start: on, every 5 seconds
    rig.schedule.PushButton5_Click();
    rig.list.UserSelects(3);  // while off: nothing to tell
    rig.schedule.PushButton5_Click();
    rig.list.UserSelects(1);
    rig.list.UserSelects(std::nullopt);
    rig.schedule.CloseLogging();
    EXPECT_EQ(rig.logger.switches,
              (std::vector<std::string>{"on: Log every 5 seconds", "off: Log every 5 seconds",
                                        "on: Log every 10 seconds", "on: Log every 1 second", "on: ", "off: "}));

    FakeScheduleRig storedOff;
    storedOff.settings.values["StartStopState"] = "Off";
    storedOff.Load();
    EXPECT_TRUE(storedOff.logger.switches.empty());
}

} // namespace
} // namespace ambervale
