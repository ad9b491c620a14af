#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeScheduleRig.h"

namespace ambervale {
namespace {

using testing::FakeScheduleRig;

const std::vector<std::string> kCaptions = {
    "Log every 1 second",   "Log every 5 seconds", "Log every 10 seconds", "Log every 30 seconds",
    "Log every 1 minute",   "Log every 5 minutes", "Log every 10 minutes", "Log every 30 minutes",
    "Log every 1 hour",     "Log every 6 hours",   "Log every 12 hours",   "Log every 24 hours",
};

std::string LoadBox(const std::string& description, int step) {
    return description + "\r\nin Lumenquay2021/08/31.Form1.Form_Load at line " + std::to_string(step) +
           "\r\rPlease email screenshot of this message to support@corvatek.example";
}

TEST(ScheduleStartup, FillsTheIntervalList) {
    FakeScheduleRig rig;
    rig.Load();
    EXPECT_EQ(rig.list.columns,
              std::vector<std::string>{"How often would you like to log Printer signal strength?"});
    EXPECT_EQ(rig.list.columnWidth, 7000);
    EXPECT_EQ(rig.list.rows, kCaptions);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(ScheduleStartup, AFailingRowIsReportedUnderItsOwnStepAndLoadingGoesOn) {
    FakeScheduleRig fifthRowFails;
    fifthRowFails.list.failAddRowAt = 5;
    fifthRowFails.Load();
    ASSERT_EQ(fifthRowFails.boxes.shown.size(), 1u);
    EXPECT_EQ(fifthRowFails.boxes.shown[0].text, LoadBox("Cannot add the row", 144));
    EXPECT_EQ(fifthRowFails.list.rows.size(), 11u);
    EXPECT_EQ(fifthRowFails.list.selected, 2);
    EXPECT_EQ(fifthRowFails.timer.period, 1000);
}

TEST(ScheduleStartup, FirstStartSelectsFiveSecondsWithLoggingOn) {
    FakeScheduleRig rig;
    rig.Load();
    EXPECT_EQ(rig.list.selected, 2);
    EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
    EXPECT_EQ(rig.frame.caption, "Next log will occur in");
    EXPECT_TRUE(rig.timer.Running());
    EXPECT_EQ(rig.timer.period, 1000);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_TRUE(rig.settings.writes.empty());
}

struct StoredIndexCase {
    std::string stored;
    std::optional<int> selected;
    int boxStep; // 0: no box
    const char* description;
};

TEST(ScheduleStartup, RestoresTheStoredIntervalOrReportsItOnce) {
    const StoredIndexCase cases[] = {
        {"12", 12, 0, ""},
        {"1", 1, 0, ""},
        {" 3", 3, 0, ""},
        {"abc", std::nullopt, 164, "Type mismatch"},
        {"", std::nullopt, 164, "Type mismatch"},
        {std::string(10240, 'z'), std::nullopt, 164, "Type mismatch"},
        {"99999999999", std::nullopt, 164, "Overflow"},
        {std::string(10240, '7'), std::nullopt, 164, "Overflow"},
        {"0", std::nullopt, 166, "Invalid property value"},
        {"13", std::nullopt, 166, "Invalid property value"},
        {"-1", std::nullopt, 166, "Invalid property value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("stored \"" + c.stored.substr(0, 20) + "\"");
        FakeScheduleRig rig;
        rig.settings.values["OftenIndex"] = c.stored;
        rig.Load();

        EXPECT_EQ(rig.list.selected, c.selected);
        if (c.boxStep == 0) {
            EXPECT_TRUE(rig.boxes.shown.empty());
        } else {
            ASSERT_EQ(rig.boxes.shown.size(), 1u);
            EXPECT_EQ(rig.boxes.shown[0].caption, "Application Error");
            EXPECT_EQ(rig.boxes.shown[0].text, LoadBox(c.description, c.boxStep));
        }
        // Loading went on, and reading changed nothing in the store.
        EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
        EXPECT_EQ(rig.timer.period, 1000);
        EXPECT_TRUE(rig.settings.writes.empty());
        EXPECT_EQ(rig.settings.values, (std::map<std::string, std::string>{{"OftenIndex", c.stored}}));
    }
}

struct StoredStateCase {
    std::optional<std::string> stored;
    const char* button;
    const char* frame;
    int period;
};

TEST(ScheduleStartup, RestoresTheOnOffStateComparingExactly) {
    const StoredStateCase cases[] = {
        {std::nullopt, "Turn Off Automatic Log", "Next log will occur in", 1000},
        {"On", "Turn Off Automatic Log", "Next log will occur in", 1000},
        {"Off", "Turn On Automatic Log", "Automatic Log is Turned Off.", 0},
        {"on", "Turn On Automatic Log", "Automatic Log is Turned Off.", 0},
        {"ON", "Turn On Automatic Log", "Automatic Log is Turned Off.", 0},
        {"Off ", "Turn On Automatic Log", "Automatic Log is Turned Off.", 0},
        {"", "Turn On Automatic Log", "Automatic Log is Turned Off.", 0},
        {"\x01garbage\xff", "Turn On Automatic Log", "Automatic Log is Turned Off.", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("stored " + c.stored.value_or("(nothing)"));
        FakeScheduleRig rig;
        if (c.stored) rig.settings.values["StartStopState"] = *c.stored;
        rig.Load();
        EXPECT_EQ(rig.button.caption, c.button);
        EXPECT_EQ(rig.frame.caption, c.frame);
        EXPECT_EQ(rig.timer.period, c.period);
        EXPECT_TRUE(rig.boxes.shown.empty());
        EXPECT_TRUE(rig.settings.writes.empty());
    }
}

TEST(ScheduleStartup, AnUnknownStoredStateIsTurnedOnByOneClick) {
    FakeScheduleRig rig;
    rig.settings.values["StartStopState"] = "ON";
    rig.Load();
    ASSERT_FALSE(rig.timer.Running());

    rig.schedule.PushButton5_Click();
    EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
    EXPECT_TRUE(rig.timer.Running());
    EXPECT_EQ(rig.settings.values["StartStopState"], "On");
}

} // namespace
} // namespace ambervale
