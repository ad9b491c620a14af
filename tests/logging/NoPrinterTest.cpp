// The whole road of an automatic entry, from the tick to the history file, while the machine has no default
// printer and after one appears.
#include <gtest/gtest.h>

#include "fakes/FakeLogEntryServices.h"
#include "fakes/FakeScheduleRig.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

TEST(NoDefaultPrinter, EachDueEntryShowsOneBoxWhileTheTimerWaitsAndLoggingResumesWhenAPrinterAppears) {
    FakeLogEntryWorld world;
    world.spooler.defaultPrinter.reset();

    FakeScheduleRig rig;
    rig.settings.values["OftenIndex"] = "1";  // every second
    // The rig's own logger stands in for the real entry.
    rig.logger.onLog = [&] { world.entries.LogStatusNow(); };
    int boxesOpenAtOnce = 0;
    int mostOpenAtOnce = 0;
    rig.boxes.onShow = [&] {
        ++boxesOpenAtOnce;
        mostOpenAtOnce = std::max(mostOpenAtOnce, boxesOpenAtOnce);
        // While the box is open the message loop runs: a running timer would tick into a second box.
        EXPECT_FALSE(rig.timer.Running());
        rig.Tick();
        --boxesOpenAtOnce;
    };
    rig.Load();
    for (int second = 0; second < 5; ++second) rig.Tick();

    ASSERT_EQ(rig.boxes.shown.size(), 5u);
    EXPECT_EQ(mostOpenAtOnce, 1);
    EXPECT_EQ(rig.boxes.shown[0].text, ErrorBoxText("No default printer", "Timer1", 126));
    EXPECT_TRUE(world.logList.rows.empty());
    EXPECT_TRUE(world.historyWriter.files.empty());
    EXPECT_TRUE(rig.timer.Running()) << "logging goes on after each failed entry";

    world.spooler.defaultPrinter = "Front Desk";
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(rig.boxes.shown.size(), 5u);
    EXPECT_EQ(world.logList.rows.size(), 2u);
    EXPECT_EQ(world.historyWriter.files["C:\\Temp\\Ambervale.txt"].size(), 2 * (world.logList.rows[0].size() + 2));
}

} // namespace
} // namespace ambervale
